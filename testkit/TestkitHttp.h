// A small HTTP server on 127.0.0.1 (an ephemeral port) for the online tests: it answers
// each request with the next scripted reply (or the default one) and records what it
// was asked. Replies can be plain, slow, held until the server stops, cut off in the
// middle, raw bytes that are not HTTP at all, or as large as a test wants.
#pragma once
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testkit
{

struct HttpReply
{
    enum Kind
    {
        NORMAL, // status line, Content-Length, the body
        RAW,    // `body` sent as it is, then the connection closes
        CUT,    // headers announce the whole body; only `sendBytes` of it go out
        HOLD,   // nothing is sent until the server stops
    };
    Kind kind = NORMAL;
    int status = 200;
    std::string body;
    size_t sendBytes = 0;
    double delaySeconds = 0; // before anything is sent

    static HttpReply Ok(const std::string &body);
    static HttpReply Status(int status, const std::string &body);
    static HttpReply Raw(const std::string &bytes);
    static HttpReply Cut(const std::string &body, size_t sendBytes);
    static HttpReply Hold();
    HttpReply &After(double seconds)
    {
        delaySeconds = seconds;
        return *this;
    }
};

struct HttpRequest
{
    std::string method;
    std::string target; // path and query as sent ("/cgi-bin/...?zz=1&...")
    std::string userAgent;
    std::string body;
};

class LoopbackHttpServer
{
public:
    LoopbackHttpServer();
    // Stops: held and delayed replies end at once, every connection is closed.
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer &) = delete;
    LoopbackHttpServer &operator=(const LoopbackHttpServer &) = delete;

    bool Running() const { return listenSocket >= 0; }
    int Port() const { return port; }
    // "http://127.0.0.1:<port>"
    std::string BaseUrl() const;

    // The next request gets the first queued reply; with none queued, the default
    // (200 and an empty body unless set).
    void Queue(const HttpReply &reply);
    void SetDefault(const HttpReply &reply);
    // Chooses the reply from the request itself (runs on a connection's thread); queued
    // replies still come first. NULL: the default reply.
    void SetResponder(std::function<HttpReply(const HttpRequest &)> responder);

    std::vector<HttpRequest> Requests();
    size_t RequestCount();
    // Waits until `count` requests have come in (or `seconds` have passed); answers
    // whether they did.
    bool WaitForRequests(size_t count, double seconds);

private:
    void AcceptLoop();
    void Serve(int socket);
    HttpReply NextReply(const HttpRequest &request);
    // Sleeps `seconds` unless the server stops first; false when it stopped.
    bool Wait(double seconds);

    int listenSocket = -1;
    int wakePipe[2] = {-1, -1};
    int port = 0;
    std::thread acceptThread;
    std::mutex lock;
    std::condition_variable changed;
    bool stopping = false;
    std::deque<HttpReply> queued;
    HttpReply defaultReply;
    std::function<HttpReply(const HttpRequest &)> responder;
    std::vector<HttpRequest> requests;
    std::vector<std::thread> connections;
    std::vector<int> openSockets;
};

} // namespace testkit
