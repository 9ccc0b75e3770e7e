#pragma once

#include <QStringList>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>

class Vipc_ConnectionStream;

// A project navigator on loopback for the tests of the navigator connection: it listens on
// a free port, takes one connection at a time and records each message as "name path". How
// it answers is chosen per test, so that a misbehaving navigator can be played too.
class TestNavigator {
public:
    enum Behaviour {
        Answer,     // a proper response to each message
        Silent,     // reads, never answers
        Garbage,    // answers with a frame that is no response
        Oversized,  // answers with a frame header beyond the size limit
    };

    explicit TestNavigator(Behaviour behaviour = Answer);
    ~TestNavigator();
    TestNavigator(const TestNavigator&) = delete;
    TestNavigator& operator=(const TestNavigator&) = delete;

    // 0 when it could not listen.
    std::uint16_t port() const { return listeningPort; }
    QStringList received() const;
    int connectionsAccepted() const { return accepted.load(); }

private:
    void Run();
    void Serve(int socket);
    void Respond(Vipc_ConnectionStream& stream, const QByteArray& name);

    const Behaviour behaviour;
    int listener = -1;
    std::uint16_t listeningPort = 0;
    std::atomic<bool> stopping{false};
    std::atomic<int> accepted{0};
    mutable std::mutex mutex;
    QStringList messages;
    std::thread thread;
};
