// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs the real kestrove-cli (the KESTROVE_CLI path the test is built with)
// with some words and keeps what it printed on each stream and its exit
// status, as a user's shell would see them.

#include <array>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace test_support {

struct CliRun {
    int Status = -1; // the exit status; -1 when the program did not exit by itself
    std::string Out;
    std::string Err;
};

// Each word is quoted for the shell, so words with spaces or empty words
// reach the program as they are (none of them may hold a quote).
inline CliRun RunCli(const std::vector<std::string>& words) {
    static std::atomic<int> runs{0};
    const std::string errFile =
        (std::filesystem::temp_directory_path() /
         ("kes_cli_err_" + std::to_string(::getpid()) + "_" + std::to_string(runs++)))
            .string();
    std::string command = "'" KESTROVE_CLI "'";
    for (const std::string& w : words)
        command += " '" + w + "'";
    command += " 2>'" + errFile + "'";
    CliRun r;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return r;
    std::array<char, 4096> buffer{};
    for (size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
        r.Out.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    r.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(errFile);
    r.Err.assign(std::istreambuf_iterator<char>(err), {});
    err.close();
    std::filesystem::remove(errFile);
    return r;
}

} // namespace test_support
