// The loopback HTTP server of the online tests: one thread accepts, one thread per
// connection reads the request (headers and a Content-Length body) and sends its reply.
#include "TestkitHttp.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace testkit
{

HttpReply HttpReply::Ok(const std::string &body)
{
    return Status(200, body);
}

HttpReply HttpReply::Status(int status, const std::string &body)
{
    HttpReply reply;
    reply.status = status;
    reply.body = body;
    return reply;
}

HttpReply HttpReply::Raw(const std::string &bytes)
{
    HttpReply reply;
    reply.kind = RAW;
    reply.body = bytes;
    return reply;
}

HttpReply HttpReply::Cut(const std::string &body, size_t sendBytes)
{
    HttpReply reply;
    reply.kind = CUT;
    reply.body = body;
    reply.sendBytes = sendBytes;
    return reply;
}

HttpReply HttpReply::Hold()
{
    HttpReply reply;
    reply.kind = HOLD;
    return reply;
}

LoopbackHttpServer::LoopbackHttpServer()
{
    if (pipe(wakePipe) != 0)
        return;
    int socketHandle = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socketHandle < 0)
        return;
    int yes = 1;
    setsockopt(socketHandle, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof(address);
    if (bind(socketHandle, (sockaddr *)&address, sizeof(address)) != 0 || listen(socketHandle, 64) != 0 ||
        getsockname(socketHandle, (sockaddr *)&address, &length) != 0)
    {
        close(socketHandle);
        return;
    }
    port = ntohs(address.sin_port);
    listenSocket = socketHandle;
    acceptThread = std::thread([this] { AcceptLoop(); });
}

LoopbackHttpServer::~LoopbackHttpServer()
{
    {
        std::lock_guard<std::mutex> guard(lock);
        stopping = true;
        // Wakes connections blocked in a read of a request that never completes.
        for (int socketHandle : openSockets)
            shutdown(socketHandle, SHUT_RDWR);
    }
    changed.notify_all();
    if (wakePipe[1] >= 0)
    {
        char byte = 1;
        ssize_t written = write(wakePipe[1], &byte, 1);
        (void)written;
    }
    if (acceptThread.joinable())
        acceptThread.join();
    for (std::thread &connection : connections)
        connection.join();
    if (listenSocket >= 0)
        close(listenSocket);
    for (int handle : wakePipe)
    {
        if (handle >= 0)
            close(handle);
    }
}

std::string LoopbackHttpServer::BaseUrl() const
{
    return "http://127.0.0.1:" + std::to_string(port);
}

void LoopbackHttpServer::Queue(const HttpReply &reply)
{
    std::lock_guard<std::mutex> guard(lock);
    queued.push_back(reply);
}

void LoopbackHttpServer::SetDefault(const HttpReply &reply)
{
    std::lock_guard<std::mutex> guard(lock);
    defaultReply = reply;
}

void LoopbackHttpServer::SetResponder(std::function<HttpReply(const HttpRequest &)> chooser)
{
    std::lock_guard<std::mutex> guard(lock);
    responder = chooser;
}

std::vector<HttpRequest> LoopbackHttpServer::Requests()
{
    std::lock_guard<std::mutex> guard(lock);
    return requests;
}

size_t LoopbackHttpServer::RequestCount()
{
    std::lock_guard<std::mutex> guard(lock);
    return requests.size();
}

bool LoopbackHttpServer::WaitForRequests(size_t count, double seconds)
{
    std::unique_lock<std::mutex> guard(lock);
    return changed.wait_for(guard, std::chrono::duration<double>(seconds),
                            [&] { return requests.size() >= count; });
}

HttpReply LoopbackHttpServer::NextReply(const HttpRequest &request)
{
    std::lock_guard<std::mutex> guard(lock);
    if (queued.empty())
        return responder ? responder(request) : defaultReply;
    HttpReply reply = queued.front();
    queued.pop_front();
    return reply;
}

bool LoopbackHttpServer::Wait(double seconds)
{
    std::unique_lock<std::mutex> guard(lock);
    return !changed.wait_for(guard, std::chrono::duration<double>(seconds), [&] { return stopping; });
}

void LoopbackHttpServer::AcceptLoop()
{
    while (true)
    {
        pollfd handles[2] = {{listenSocket, POLLIN, 0}, {wakePipe[0], POLLIN, 0}};
        if (poll(handles, 2, -1) < 0)
            continue;
        if (handles[1].revents)
            return;
        int connection = accept4(listenSocket, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0)
            continue;
        std::lock_guard<std::mutex> guard(lock);
        if (stopping)
        {
            close(connection);
            return;
        }
        openSockets.push_back(connection);
        connections.emplace_back([this, connection] { Serve(connection); });
    }
}

namespace
{

bool SendAll(int socketHandle, const char *data, size_t size)
{
    while (size > 0)
    {
        ssize_t sent = send(socketHandle, data, size, MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        data += sent;
        size -= (size_t)sent;
    }
    return true;
}

std::string HeaderValue(const std::string &head, const char *name)
{
    std::string lower = head;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return (char)tolower(c); });
    std::string key = std::string("\r\n") + name + ":";
    size_t at = lower.find(key);
    if (at == std::string::npos)
        return "";
    size_t start = at + key.size();
    size_t end = head.find("\r\n", start);
    std::string value = head.substr(start, end - start);
    value.erase(0, value.find_first_not_of(' '));
    return value;
}

} // namespace

void LoopbackHttpServer::Serve(int socketHandle)
{
    // The request: headers up to the empty line, then a body of Content-Length bytes.
    std::string data;
    char chunk[4096];
    size_t headEnd = std::string::npos;
    while (headEnd == std::string::npos && data.size() < 65536)
    {
        ssize_t got = recv(socketHandle, chunk, sizeof(chunk), 0);
        if (got <= 0)
            break;
        data.append(chunk, (size_t)got);
        headEnd = data.find("\r\n\r\n");
    }
    if (headEnd != std::string::npos)
    {
        std::string head = data.substr(0, headEnd + 2);
        size_t bodyLength = strtoul(HeaderValue(head, "content-length").c_str(), nullptr, 10);
        while (data.size() < headEnd + 4 + bodyLength && bodyLength < 1048576)
        {
            ssize_t got = recv(socketHandle, chunk, sizeof(chunk), 0);
            if (got <= 0)
                break;
            data.append(chunk, (size_t)got);
        }
        HttpRequest request;
        size_t lineEnd = head.find("\r\n");
        std::string line = head.substr(0, lineEnd);
        size_t firstSpace = line.find(' ');
        size_t secondSpace = line.find(' ', firstSpace + 1);
        request.method = line.substr(0, firstSpace);
        request.target = line.substr(firstSpace + 1, secondSpace - firstSpace - 1);
        request.userAgent = HeaderValue(head, "user-agent");
        request.body = data.substr(headEnd + 4);
        {
            std::lock_guard<std::mutex> guard(lock);
            requests.push_back(request);
        }
        changed.notify_all();

        HttpReply reply = NextReply(request);
        bool live = reply.delaySeconds <= 0 || Wait(reply.delaySeconds);
        if (live && reply.kind == HttpReply::HOLD)
            live = Wait(3600);
        if (live)
        {
            if (reply.kind == HttpReply::RAW)
                SendAll(socketHandle, reply.body.data(), reply.body.size());
            else
            {
                std::string headers = "HTTP/1.1 " + std::to_string(reply.status) +
                                      (reply.status < 400 ? " OK" : " Error") +
                                      "\r\nContent-Type: text/plain\r\nContent-Length: " +
                                      std::to_string(reply.body.size()) + "\r\nConnection: close\r\n\r\n";
                size_t bodyBytes = reply.kind == HttpReply::CUT ? std::min(reply.sendBytes, reply.body.size())
                                                                : reply.body.size();
                if (SendAll(socketHandle, headers.data(), headers.size()))
                    SendAll(socketHandle, reply.body.data(), bodyBytes);
            }
        }
    }
    std::lock_guard<std::mutex> guard(lock);
    openSockets.erase(std::remove(openSockets.begin(), openSockets.end(), socketHandle), openSockets.end());
    close(socketHandle);
}

} // namespace testkit
