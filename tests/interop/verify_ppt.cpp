// verify_ppt FILE...: runs the structural verifier on written presentations; prints the problems
// of each file and exits 1 when any file has one (0 for no files).
#include <cstdio>
#include <string>
#include <vector>

#include "support/verifier.h"

int main(int argc, char** argv) {
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        std::vector<std::string> problems = quorv_test::verifyPresentationPath(argv[i]);
        if (!problems.empty()) {
            std::printf("%s:\n%s", argv[i], quorv_test::describeProblems(problems).c_str());
            status = 1;
        }
    }
    return status;
}
