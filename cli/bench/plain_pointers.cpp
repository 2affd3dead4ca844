// The plainest C++ program that does quorvane-cli's commonest job, for
// cli_bench.sh to time it beside: a line read with std::getline, parsed as
// hex, its Type 1 pointer computed and printed with snprintf.
#include <cstdio>
#include <iostream>
#include <string>

int main() {
    std::ios::sync_with_stdio(false);
    std::string line;
    char text[8];
    while (std::getline(std::cin, line)) {
        const unsigned long offset = std::stoul(line, nullptr, 16);
        const unsigned long address = 0x8000 + (offset < 0x10 ? 0 : (offset - 0x10) % 0x4000);
        std::snprintf(text, sizeof text, "%lX", (address & 0xFF) << 8 | address >> 8);
        std::cout << text << '\n';
    }
}
