// seaherald-soak: a long reception through the main window's receive path, in accelerated time.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "tests/soak/SoakOptions.h"
#include "tests/soak/SoakRun.h"

int main(int argc, char** argv) {
  using namespace seaherald::soak;
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  SoakOptions options;
  try {
    options = ParseSoakOptions(arguments);
  } catch (const std::invalid_argument& error) {
    std::cerr << "seaherald-soak: " << error.what() << "\n";
    return 2;
  }
  if (options.help) {
    std::cout << SoakUsage();
    return 0;
  }
  try {
    return RunSoak(options, std::cout) ? 0 : 1;
  } catch (const std::exception& error) {
    std::cerr << "seaherald-soak: " << error.what() << "\n";
    return 1;
  }
}
