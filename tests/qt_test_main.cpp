// main of the widget test programs: GoogleTest cases that drive widgets with
// QTest need one QApplication for the whole program. Listing the tests (at
// build time, where no display may exist) needs none.
#include <gtest/gtest.h>

#include <QApplication>
#include <clocale>
#include <cstring>
#include <memory>

int main(int argc, char** argv) {
  bool listing = false;
  for (int i = 1; i < argc; ++i) listing = listing || std::strcmp(argv[i], "--gtest_list_tests") == 0;
  std::unique_ptr<QApplication> app;
  if (!listing) {
    app = std::make_unique<QApplication>(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
