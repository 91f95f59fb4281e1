#pragma once
// The error raised by the binary archive (and by loaders built on it) when a file cannot be read
// or written. It carries its cause so the document can report the failure of the whole open.
#include <stdexcept>
#include <string>

namespace jorvo {

class ArchiveException : public std::runtime_error {
public:
    enum class Cause { Generic, BadSchema, EndOfFile, BadClass, BadIndex };

    // An error of `cause`; `fileName` names the file it concerns when known (may be empty).
    explicit ArchiveException(Cause cause, std::string fileName = {});

    // Why the archive failed.
    Cause GetCause() const { return cause_; }

    // The file the error concerns; empty when not known (memory streams, nested loads).
    const std::string& FileName() const { return fileName_; }

    // A short English description of `cause` for diagnostics; never empty.
    static const char* CauseText(Cause cause);

private:
    Cause cause_;
    std::string fileName_;
};

} // namespace jorvo
