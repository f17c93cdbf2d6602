#pragma once

#include <exception>

// Base of every failure that the program reports to the user. Thrown by value,
// caught by reference; one report operation turns any of them into its text.
class CException : public std::exception {
public:
    const char* what() const noexcept override { return "CException"; }
};

// The silent abandon: the code that throws it has already told the user what
// happened (or the user cancelled), so reporting shows nothing.
class CUserException : public CException {
public:
    const char* what() const noexcept override { return "user cancel"; }
};

class CMemoryException : public CException {
public:
    const char* what() const noexcept override { return "out of memory"; }
};

class CNotSupportedException : public CException {
public:
    const char* what() const noexcept override { return "operation not supported"; }
};

class CResourceException : public CException {
public:
    const char* what() const noexcept override { return "resource failure"; }
};

[[noreturn]] void AbandonSilently();
