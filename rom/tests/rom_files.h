// The ROMs and tables the build assembled for the tests.
#pragma once

#include <fstream>
#include <iterator>
#include <string>

#include "rom/header.h"
#include "rom/table.h"

inline std::string TestFile(const std::string& name) {
    std::ifstream file(std::string(QUORVANE_TEST_ROMS) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

inline rom::Rom TestRom(const std::string& name) {
    const std::string bytes = TestFile(name);
    return rom::ReadRom(rom::Bytes(bytes.begin(), bytes.end()));
}

inline rom::Table TestTable() { return rom::Table::Read(TestFile("game.tbl")); }
