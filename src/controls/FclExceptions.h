#pragma once
// The control library's exceptions. Each builds its message from the message table when it is
// created.
#include <cstdint>
#include <string>

#include "platform/Exception.h"

class EFclException : public Exception {
public:
    using Exception::Exception;
};

class ENoTimersAvailable : public EFclException {
public:
    ENoTimersAvailable();
};

class ECmdProcessorError : public EFclException {
public:
    using EFclException::EFclException;
};

class EDuplicateCommand : public ECmdProcessorError {
public:
    EDuplicateCommand();
};

class ETableNotFound : public ECmdProcessorError {
public:
    ETableNotFound();
};

class EEntryFieldError : public EFclException {
public:
    using EFclException::EFclException;
};

class EInvalidDataType : public EEntryFieldError {
public:
    EInvalidDataType();
};

class EInvalidPictureMask : public EEntryFieldError {
public:
    explicit EInvalidPictureMask(const std::string& Mask);
};

class EInvalidRangeValue : public EEntryFieldError {
public:
    // The message is chosen by the base type (low six bits of DataType). Dates and times name
    // the international date mask with a four-digit year and the time mask without seconds.
    explicit EInvalidRangeValue(std::uint8_t DataType);
    // The same with the two masks given.
    EInvalidRangeValue(std::uint8_t DataType, const std::string& DateMask,
                       const std::string& TimeMask);
};
