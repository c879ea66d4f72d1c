#include "photos/Command.h"

namespace {

int Count(const RunResult& result, std::initializer_list<RowKind> kinds)
{
    int n = 0;
    for (RowKind kind : kinds) {
        const auto found = result.kinds.find(kind);
        n += found == result.kinds.end() ? 0 : found->second;
    }
    return n;
}

std::string Part(int n, const char* what)
{
    return std::to_string(n) + " " + what;
}

}  // namespace

std::string RunSummary(Command command, const RunResult& result)
{
    std::string text;
    switch (command) {
    case Command::GeoTag:
        text = "GeoTag: " + Part(Count(result, {RowKind::Tagged, RowKind::TaggedInSidecar}), "tagged") + ", "
            + Part(Count(result, {RowKind::Rejected}), "rejected") + ", "
            + Part(Count(result, {RowKind::WriteFailed, RowKind::ReadFailed}), "failed");
        if (const int none = Count(result, {RowKind::NoExif}))
            text += ", " + Part(none, "without a capture time");
        if (const int sidecars = Count(result, {RowKind::TaggedInSidecar}))
            text += " (" + Part(sidecars, "in sidecars") + ")";
        break;
    case Command::Parse:
        text = "Parse: " + Part(Count(result, {RowKind::Parsed}), "with a position") + ", "
            + Part(Count(result, {RowKind::NoPosition, RowKind::NoExif}), "without") + ", "
            + Part(Count(result, {RowKind::ReadFailed}), "failed");
        break;
    case Command::Rename:
        text = "Rename: " + Part(Count(result, {RowKind::Renamed}), "renamed") + ", "
            + Part(Count(result, {RowKind::NotRenamed, RowKind::NoPosition, RowKind::NoExif, RowKind::ReadFailed}),
                   "not renamed");
        break;
    }
    return text;
}
