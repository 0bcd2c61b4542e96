// Runs a piece of a test in a process of its own, as another program would:
// what the child returns (or the text of what it threw) comes back to the
// test through a pipe.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <exception>
#include <functional>
#include <string>

class ChildProcess {
public:
    explicit ChildProcess(const std::function<std::string()>& body) {
        int fds[2];
        if (::pipe(fds) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(fds[0]);
            std::string result;
            try {
                result = body();
            } catch (const std::exception& e) {
                result = e.what();
            }
            for (std::size_t done = 0; done < result.size();) {
                const ssize_t n = ::write(fds[1], result.data() + done, result.size() - done);
                if (n <= 0) break;
                done += std::size_t(n);
            }
            ::_exit(0);
        }
        ::close(fds[1]);
        out_ = fds[0];
    }
    ~ChildProcess() { wait(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // What the child returned; a child that died says so.
    std::string wait() {
        if (pid_ <= 0) return pid_ < 0 ? "fork failed" : result_;
        char buffer[4096];
        for (ssize_t n; (n = ::read(out_, buffer, sizeof buffer)) > 0;)
            result_.append(buffer, std::size_t(n));
        ::close(out_);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = 0;
        if (!WIFEXITED(status))
            result_ = "the child process died (signal " + std::to_string(WTERMSIG(status)) + ")";
        return result_;
    }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string result_;
};

inline std::string inChildProcess(const std::function<std::string()>& body) {
    return ChildProcess(body).wait();
}
