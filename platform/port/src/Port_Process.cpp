#include "Port_Process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <system_error>
#include <thread>

#include "Port_Env.h"

extern char** environ;

namespace Port {
namespace {

using Clock = std::chrono::steady_clock;

// How often a wait without news checks whether the child has gone; it matters only when a
// grandchild keeps the pipes open after the child exited.
constexpr int kTickMs = 100;
constexpr std::size_t kChunk = 16384;

// One owned file descriptor, closed on every path.
class Fd {
public:
    Fd() = default;
    ~Fd() { reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;

    int get() const { return value; }
    void reset(int fd = -1)
    {
        if (value >= 0)
            ::close(value);
        value = fd;
    }

private:
    int value = -1;
};

// Keeps pipe ends off 0, 1 and 2, so the child's redirections cannot clobber one another
// when the caller runs with a standard stream closed.
int aboveStandardStreams(int fd)
{
    if (fd > STDERR_FILENO)
        return fd;
    const int moved = fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    ::close(fd);
    return moved;
}

struct Pipe {
    Fd read;
    Fd write;

    bool open()
    {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0)
            return false;
        read.reset(aboveStandardStreams(fds[0]));
        write.reset(aboveStandardStreams(fds[1]));
        return read.get() >= 0 && write.get() >= 0;
    }
};

// The child's standard streams and a clean signal state, as posix_spawn wants them.
class SpawnSetup {
public:
    SpawnSetup()
    {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attributes);
    }
    ~SpawnSetup()
    {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    bool build(const Pipe& out, const Pipe& err);
    int spawn(const String& program, const std::vector<String>& arguments, pid_t& pid) const;

private:
    bool redirect(int target, const Pipe& pipe);

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
};

bool SpawnSetup::redirect(int target, const Pipe& pipe)
{
    if (pipe.write.get() >= 0)
        return posix_spawn_file_actions_adddup2(&actions, pipe.write.get(), target) == 0;
    return posix_spawn_file_actions_addopen(&actions, target, "/dev/null", O_WRONLY, 0) == 0;
}

bool SpawnSetup::build(const Pipe& out, const Pipe& err)
{
    if (!redirect(STDOUT_FILENO, out) || !redirect(STDERR_FILENO, err))
        return false;
    if (posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0) != 0)
        return false;
#if defined(__GLIBC__) && (__GLIBC__ > 2 || __GLIBC_MINOR__ >= 34)
    // Our own pipes are close-on-exec; this also drops what the rest of the process left open.
    if (posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1) != 0)
        return false;
#endif
    // Blocked or ignored signals would otherwise be inherited across exec.
    sigset_t none;
    sigset_t all;
    sigemptyset(&none);
    sigfillset(&all);
    return posix_spawnattr_setsigmask(&attributes, &none) == 0 &&
           posix_spawnattr_setsigdefault(&attributes, &all) == 0 &&
           posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF) ==
               0;
}

int spawnResult(int error)
{
    switch (error) {
        case 0:
            return Process::RAN;
        case ENOENT:
        case EACCES:
        case EPERM:
        case ENOEXEC:
        case ENOTDIR:
        case ELOOP:
        case ENAMETOOLONG:
        case ETXTBSY:
            return Process::NOT_STARTED;
        default:
            return Process::SYSTEM_ERROR;
    }
}

int SpawnSetup::spawn(const String& program, const std::vector<String>& arguments, pid_t& pid) const
{
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (const String& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    return spawnResult(
        posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), environ));
}

// The child's exit status, within the caller's time limit.
class Child {
public:
    Child(pid_t pid, unsigned timeoutMs)
        : pid(pid)
        , limited(timeoutMs > 0)
        , deadline(Clock::now() + std::chrono::milliseconds(timeoutMs))
    {
    }

    bool collect(std::vector<pollfd> fds, ChildOutput& output);
    bool reap();
    void kill();
    int result(ChildOutput* output) const;

private:
    int pollSlice() const;
    bool exitedNow();
    static bool readReady(std::vector<pollfd>& fds, ChildOutput& output);
    static void drain(const std::vector<pollfd>& fds, ChildOutput& output);

    pid_t pid;
    bool limited;
    Clock::time_point deadline;
    bool reaped = false;
    bool lost = false;  // someone else reaped it; its pid may belong to another process now
    int status = 0;
};

// Milliseconds to wait next; -1 once the time limit has run out.
int Child::pollSlice() const
{
    if (!limited)
        return kTickMs;
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0)
        return -1;
    return static_cast<int>(std::min<long long>(left, kTickMs));
}

bool Child::exitedNow()
{
    pid_t answer;
    do {
        answer = waitpid(pid, &status, WNOHANG);
    } while (answer < 0 && errno == EINTR);
    reaped = answer == pid;
    lost = answer < 0;
    return answer != 0;
}

// Reads every descriptor poll marked; drops those at end of file. False on a poll error.
bool Child::readReady(std::vector<pollfd>& fds, ChildOutput& output)
{
    char buffer[kChunk];
    for (auto it = fds.begin(); it != fds.end();) {
        if (it->revents & POLLNVAL)
            return false;
        ssize_t size = 1;
        if (it->revents != 0) {
            size = ::read(it->fd, buffer, sizeof buffer);
            if (size > 0)
                output.Receive(buffer, static_cast<std::size_t>(size));
        }
        if (size == 0 || (size < 0 && errno != EINTR && errno != EAGAIN))
            it = fds.erase(it);
        else
            ++it;
    }
    return true;
}

// After the child exited: takes what it left in the pipes, without waiting on anyone who
// inherited them.
void Child::drain(const std::vector<pollfd>& fds, ChildOutput& output)
{
    char buffer[kChunk];
    for (const pollfd& entry : fds) {
        int pending = 0;
        if (ioctl(entry.fd, FIONREAD, &pending) != 0)
            continue;
        while (pending > 0) {
            const ssize_t size =
                ::read(entry.fd, buffer, std::min<std::size_t>(sizeof buffer, pending));
            if (size < 0 && errno == EINTR)
                continue;
            if (size <= 0)
                break;
            output.Receive(buffer, static_cast<std::size_t>(size));
            pending -= static_cast<int>(size);
        }
    }
}

bool Child::collect(std::vector<pollfd> fds, ChildOutput& output)
{
    while (!fds.empty()) {
        const int slice = pollSlice();
        if (slice < 0)
            return false;
        const int ready = ::poll(fds.data(), fds.size(), slice);
        if (ready < 0 && errno != EINTR)
            return false;
        if (ready > 0 && !readReady(fds, output))
            return false;
        if (ready == 0 && exitedNow()) {
            drain(fds, output);
            return reaped;
        }
    }
    return true;
}

bool Child::reap()
{
    if (!limited) {
        while (!reaped && !lost) {
            reaped = waitpid(pid, &status, 0) == pid;
            lost = !reaped && errno != EINTR;
        }
        return reaped;
    }
    for (;;) {
        const int slice = pollSlice();
        if (exitedNow())
            return reaped;
        if (slice < 0)
            return false;
        ::poll(nullptr, 0, std::min(slice, 10));
    }
}

void Child::kill()
{
    if (reaped || lost)
        return;
    ::kill(pid, SIGKILL);
    limited = false;
    reap();
}

int Child::result(ChildOutput* output) const
{
    if (!WIFEXITED(status))
        return Process::SIGNALLED;
    const int code = WEXITSTATUS(status);
    if (output != nullptr)
        output->Exited(code);
    return code == 0 ? Process::RAN : Process::EXITED_NONZERO;
}

// The zombie of a child nobody waits for is collected here. posix_spawn cannot double-fork,
// and the caller should not have to reap what it started without waiting.
void reapInBackground(pid_t pid)
{
    try {
        std::thread([pid] {
            int status;
            while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    } catch (const std::system_error&) {
        // No thread to spare: the zombie stays until this process exits.
    }
}

String resolveProgram(const String& name)
{
    return Port_Env::GetExecFileName(name, name.str().find('/') == std::string::npos ? 1 : 0);
}

int superviseChild(Child& child, const Pipe& out, const Pipe& err, ChildOutput* output)
{
    std::vector<pollfd> fds;
    for (const Pipe* pipe : {&out, &err}) {
        if (pipe->read.get() >= 0)
            fds.push_back(pollfd{pipe->read.get(), POLLIN, 0});
    }
    const bool finished = (fds.empty() || child.collect(std::move(fds), *output)) && child.reap();
    if (!finished) {
        child.kill();
        return Process::SYSTEM_ERROR;
    }
    return child.result(output);
}

}  // namespace

int Process::RunNoWindow(const String& commandLine, ChildOutput* output, unsigned timeoutMs,
                         bool wait, bool collectStdout, bool collectStderr)
{
    std::vector<String> arguments;
    if (!SplitCommandLine(commandLine, arguments))
        return BAD_COMMAND;
    return RunNoWindow(arguments, output, timeoutMs, wait, collectStdout, collectStderr);
}

int Process::RunNoWindow(const std::vector<String>& arguments, ChildOutput* output,
                         unsigned timeoutMs, bool wait, bool collectStdout, bool collectStderr)
{
    if (arguments.empty())
        return BAD_COMMAND;
    const String program = resolveProgram(arguments[0]);
    if (program.IsEmpty())
        return NOT_STARTED;
    // Output can only be handed over while we wait for it.
    const bool collect = wait && output != nullptr;
    Pipe out;
    Pipe err;
    if ((collect && collectStdout && !out.open()) || (collect && collectStderr && !err.open()))
        return SYSTEM_ERROR;
    SpawnSetup setup;
    if (!setup.build(out, err))
        return SYSTEM_ERROR;
    pid_t pid = 0;
    const int spawned = setup.spawn(program, arguments, pid);
    out.write.reset();
    err.write.reset();
    if (spawned != RAN)
        return spawned;
    if (!wait) {
        reapInBackground(pid);
        return RAN;
    }
    Child child(pid, timeoutMs);
    return superviseChild(child, out, err, output);
}

namespace {

// One word of a command line from position i on; false on an unbalanced quote.
bool nextWord(const std::string& line, std::size_t& i, std::string& word)
{
    bool quoted = false;
    for (; i < line.size(); ++i) {
        const char c = line[i];
        if (!quoted && (c == ' ' || c == '\t'))
            break;
        if (c == '"')
            quoted = !quoted;
        else if (quoted && c == '\\' && i + 1 < line.size() &&
                 (line[i + 1] == '"' || line[i + 1] == '\\'))
            word += line[++i];
        else
            word += c;
    }
    return !quoted;
}

}  // namespace

bool Process::SplitCommandLine(const String& commandLine, std::vector<String>& arguments)
{
    const std::string& line = commandLine.str();
    std::vector<String> words;
    std::size_t i = 0;
    for (;;) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        if (i == line.size())
            break;
        std::string word;
        if (!nextWord(line, i, word))
            return false;
        words.emplace_back(std::move(word));
    }
    if (words.empty())
        return false;
    arguments = std::move(words);
    return true;
}

}  // namespace Port
