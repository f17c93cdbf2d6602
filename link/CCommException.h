#pragma once

#include <cstdint>

#include "platform/CException.h"

// A communication failure carrying one error number (0..72).
class CCommException : public CException {
public:
    explicit CCommException(int32_t error) : m_error(error) {}
    int32_t Error() const { return m_error; }
    const char* what() const noexcept override { return "communication error"; }

private:
    int32_t m_error;
};
