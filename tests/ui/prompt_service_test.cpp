#include "ui/prompt_service.h"

#include <gtest/gtest.h>

using namespace vorlund::ui;

TEST(PromptService, ScriptedServiceAnswersInOrderAndRestoresThePrevious) {
  PromptService* real = &prompts();
  {
    ScriptedPrompts script;
    script.answers = {PromptAnswer::Yes};
    script.fileNames = {"a.gen"};
    ScopedPromptService use(&script);
    EXPECT_EQ(prompts().question(nullptr, "T", "Q?", PromptButtons::YesNo), PromptAnswer::Yes);
    EXPECT_EQ(prompts().question(nullptr, "T", "Q?", PromptButtons::YesNo), PromptAnswer::No);
    EXPECT_EQ(prompts().openFileName(nullptr, "Open", "", ""), "a.gen");
    EXPECT_EQ(prompts().saveFileName(nullptr, "Save", "", ""), "");
    ASSERT_EQ(script.shown.size(), 4u);
    EXPECT_EQ(script.shown[0].text, "Q?");
  }
  EXPECT_EQ(&prompts(), real);
}
