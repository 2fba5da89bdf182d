#include "test_support.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace kivo::test {

TempDir::TempDir() {
    std::random_device device;
    std::mt19937_64 random(device());
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = std::filesystem::temp_directory_path() /
                         ("kivo_test_" + std::to_string(random() % 1000000000ULL));
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary directory");
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string TestDataPath(const std::string& relative) {
    return std::string(KIVO_TEST_DATA_DIR) + "/" + relative;
}

ProcessResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& workingDirectory) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) throw std::runtime_error("pipe failed");
    pid_t child = fork();
    if (child == 0) {
        int nullInput = open("/dev/null", O_RDONLY);
        dup2(nullInput, STDIN_FILENO);
        dup2(pipeEnds[1], STDOUT_FILENO);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        if (chdir(workingDirectory.c_str()) != 0) _exit(127);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(pipeEnds[1]);
    ProcessResult result;
    char buffer[4096];
    ssize_t count;
    while ((count = read(pipeEnds[0], buffer, sizeof buffer)) > 0) result.output.append(buffer, count);
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

}  // namespace kivo::test
