// vantreth-script: runs a scenario script against the program's windows and prints the
// transcript. Exit 0 when every line passed, 1 when one failed, 2 when the script
// cannot be read. The script syntax is described in script/script_runner.h.
#include "script/script_runner.h"

#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

namespace {

int Usage() {
    std::cerr << "usage: vantreth-script [--check] [SCRIPT | -]\n"
                 "Runs the scenario SCRIPT (standard input when none or \"-\") and prints its transcript.\n"
                 "--check is accepted for test runs; the transcript is printed either way.\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::string file;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--check") == 0)
            continue;
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            Usage();
            return 0;
        }
        if (argv[i][0] == '-' && argv[i][1] != '\0')
            return Usage();
        if (!file.empty())
            return Usage();
        file = argv[i];
    }

    vantreth::script::ScriptOptions options;
    std::ifstream in;
    std::istream* script = &std::cin;
    if (!file.empty() && file != "-") {
        in.open(file, std::ios::binary);
        if (!in) {
            std::cerr << "vantreth-script: cannot read " << file << "\n";
            return 2;
        }
        script = &in;
        options.baseDir = std::filesystem::absolute(file).parent_path();
    } else {
        options.baseDir = std::filesystem::current_path();
    }

    try {
        vantreth::script::ScriptRunner runner(std::cout, options);
        return runner.Run(*script).ok ? 0 : 1;
    } catch (const std::exception& e) {
        std::cout << "FAILED: " << e.what() << std::endl;
        return 1;
    }
}
