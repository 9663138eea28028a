#include <iostream>

#include "cli.h"

int main(int argc, char** argv) { return vorlund::cli::runCli(argc, argv, std::cout, std::cerr); }
