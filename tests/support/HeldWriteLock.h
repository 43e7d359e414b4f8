// Another workstation holding the write lock: a second connection to the test database that
// takes the lock (SQLite: the database's write lock; PostgreSQL: an exclusive lock on `table`)
// before the constructor returns, and gives it up after `hold`. join() waits for that.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "db/basLibDB.h"

class HeldWriteLock {
public:
    HeldWriteLock(const std::string& table, std::chrono::milliseconds hold) {
        std::unique_lock<std::mutex> lock(m_);
        thread_ = std::thread([this, table, hold] {
            auto other = LIB_DB_OpenBackend(LIB_DB_ConnectParams());
            other->begin();
            if (other->name() == "SQLite")
                other->execute("UPDATE sys_comm_para SET sys_para_name=sys_para_name");
            else
                other->execute("LOCK TABLE " + table + " IN EXCLUSIVE MODE");
            {
                std::lock_guard<std::mutex> held(m_);
                locked_ = true;
            }
            cv_.notify_one();
            std::this_thread::sleep_for(hold);
            other->rollback();
        });
        cv_.wait(lock, [this] { return locked_; });
    }
    ~HeldWriteLock() { join(); }
    void join() {
        if (thread_.joinable()) thread_.join();
    }

private:
    std::mutex m_;
    std::condition_variable cv_;
    bool locked_ = false;
    std::thread thread_;
};
