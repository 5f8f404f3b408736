// What the tests that work with files share: a scratch folder for each test, and kelvo-calc run
// in it as a person runs it (directly, with its peak memory taken, or through the shell for
// redirections and limits).
#pragma once

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace kelvo::testing {

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

struct CalcRun {
    int status = -1;
    std::string out, err;
    long peak_kib = 0;  // the program's peak resident memory
};

#ifdef KELVO_CALC
// Runs kelvo-calc with `arguments` in `folder`, standard input from `input` (or nothing),
// standard output appended to `output` (or a scratch file), and takes its peak memory.
inline CalcRun RunCalc(const std::filesystem::path& folder, const std::vector<std::string>& arguments,
                       const std::string& input = "/dev/null", const std::string& output = "",
                       std::function<void()> in_child = {}) {
    const std::string out = output.empty() ? (folder / ".out").string() : output;
    const std::string err = (folder / ".err").string();
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::chdir(folder.c_str()) != 0) ::_exit(127);
        const int in_fd = ::open(input.c_str(), O_RDONLY);
        const int out_fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        const int err_fd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(in_fd, 0);
        ::dup2(out_fd, 1);
        ::dup2(err_fd, 2);
        if (in_child) in_child();
        std::vector<char*> argv{const_cast<char*>(KELVO_CALC)};
        for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        ::execv(KELVO_CALC, argv.data());
        ::_exit(127);
    }
    CalcRun run;
    int status = 0;
    struct rusage usage {};
    ::wait4(pid, &status, 0, &usage);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.peak_kib = usage.ru_maxrss;
    run.err = ReadFile(err);
    std::filesystem::remove(err);
    if (output.empty()) {
        run.out = ReadFile(out);
        std::filesystem::remove(out);
    }
    return run;
}

// Runs `kelvo-calc ARGUMENTS` in `folder` through the shell (so that the arguments may carry
// redirections); `prefix` goes before the program (ulimit, timeout).
inline CalcRun ShellCalc(const std::filesystem::path& folder, const std::string& arguments,
                         const std::string& prefix = "") {
    const std::string out = (folder / ".stdout").string(), err = (folder / ".stderr").string();
    const std::string command =
        "cd '" + folder.string() + "' && " + prefix + " " + KELVO_CALC + " >" + out + " 2>" + err + " " + arguments;
    const int status = std::system(("sh -c \"" + command + "\"").c_str());
    CalcRun run{WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), ReadFile(out), ReadFile(err)};
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return run;
}
#endif

// A scratch folder for one test, gone after it.
class Scratch : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = ::testing::TempDir() + "kelvo-test-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    void Write(const std::string& name, const std::string& text) const {
        std::ofstream(Path(name), std::ios::binary) << text;
    }
    std::string Read(const std::string& name) const { return ReadFile(dir_ / name); }
    // What the folder holds besides the named files (a temporary file left behind, say).
    std::vector<std::string> Others(std::initializer_list<std::string> known) const {
        std::vector<std::string> others;
        for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
            const std::string name = entry.path().filename().string();
            if (std::find(known.begin(), known.end(), name) == known.end()) others.push_back(name);
        }
        return others;
    }

    std::filesystem::path dir_;
};

}  // namespace kelvo::testing
