// A private PostgreSQL server for tests that stop and start it under a running session.
#pragma once

#include <string>

class PgCluster {
public:
    // Initialises a cluster in a temporary directory; available() is false when the server
    // programs are not installed.
    PgCluster();
    ~PgCluster();
    PgCluster(const PgCluster&) = delete;
    PgCluster& operator=(const PgCluster&) = delete;

    bool available() const { return available_; }
    bool start();
    bool stop();
    int port() const { return port_; }
    std::string server() const { return "127.0.0.1:" + std::to_string(port_); }

private:
    int run(const std::string& command) const;
    std::string binDir_;
    std::string dataDir_;
    int port_ = 0;
    bool available_ = false;
};
