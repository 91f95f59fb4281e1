#include "document/ArchiveException.h"

namespace jorvo {

namespace {

std::string Describe(ArchiveException::Cause cause, const std::string& fileName)
{
    std::string text = ArchiveException::CauseText(cause);
    if (!fileName.empty())
        text += ": " + fileName;
    return text;
}

} // namespace

ArchiveException::ArchiveException(Cause cause, std::string fileName)
    : std::runtime_error(Describe(cause, fileName)), cause_(cause), fileName_(std::move(fileName))
{
}

const char* ArchiveException::CauseText(Cause cause)
{
    switch (cause) {
    case Cause::BadSchema:
        return "unexpected file version";
    case Cause::EndOfFile:
        return "unexpected end of file";
    case Cause::BadClass:
        return "unknown or unexpected object class";
    case Cause::BadIndex:
        return "invalid object reference";
    case Cause::Generic:
        break;
    }
    return "file format error";
}

} // namespace jorvo
