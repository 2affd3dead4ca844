// The plainest search: a file read whole and scanned by memmem for one
// two-byte pattern, each place printed.
//   plain_scan FILE
#include <cstdio>
#include <cstring>

#include "plain_programs.h"

int main(int, char** argv) {
    const std::vector<unsigned char> file = ReadWhole(argv[1]);
    const unsigned char pattern[] = {0x16, 0x80};
    for (const unsigned char* at = file.data();
         (at = static_cast<const unsigned char*>(
              memmem(at, file.size() - static_cast<std::size_t>(at - file.data()), pattern, 2))) !=
         nullptr;
         ++at) {
        std::printf("$%lX\n", static_cast<unsigned long>(at - file.data()));
    }
}
