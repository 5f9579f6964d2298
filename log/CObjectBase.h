#pragma once

// Root of the log record types: no data, a virtual destructor.
class CObjectBase {
public:
    CObjectBase() = default;
    virtual ~CObjectBase() = default;
    CObjectBase(const CObjectBase&) = default;
    CObjectBase& operator=(const CObjectBase&) = default;
};
