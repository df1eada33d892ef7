// Holders that close what they hold when they go: a kernel object's handle
// and a registry key. Every early return then lets go of what it took.
// Header only, and nothing here throws: in the status monitor, built
// without exceptions, a destructor costs no unwinding code.
#pragma once

#include <windows.h>

class OwnedHandle {
public:
    explicit OwnedHandle(HANDLE handle = nullptr) : handle_(handle) {}
    ~OwnedHandle() {
        if (handle_) CloseHandle(handle_);
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;

    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

class OwnedKey {
public:
    OwnedKey() = default;
    ~OwnedKey() {
        if (key_) RegCloseKey(key_);
    }
    OwnedKey(const OwnedKey&) = delete;
    OwnedKey& operator=(const OwnedKey&) = delete;

    HKEY Get() const { return key_; }
    // For the opening call to fill; the key held before is closed first.
    HKEY* Receive() {
        if (key_) RegCloseKey(key_);
        key_ = nullptr;
        return &key_;
    }

private:
    HKEY key_ = nullptr;
};
