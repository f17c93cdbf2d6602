#pragma once

#include "platform/CException.h"

// A failure of the configuration file format while storing or loading.
class CArchiveException : public CException {
public:
    enum class Cause { None, Generic, ReadOnly, EndOfFile, WriteOnly, BadIndex, BadClass, BadSchema };

    explicit CArchiveException(Cause cause) : m_cause(cause) {}
    Cause GetCause() const { return m_cause; }
    const char* what() const noexcept override { return "archive error"; }

private:
    Cause m_cause;
};
