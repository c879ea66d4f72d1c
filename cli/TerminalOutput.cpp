#include "cli/TerminalOutput.h"

#include <cerrno>

#include "common/PathText.h"
#include "run/RunControl.h"

TerminalFeedback::TerminalFeedback(const std::string& verb, bool enabled)
    : verb(verb), enabled(enabled), start(std::chrono::steady_clock::now())
{
}

TerminalFeedback::~TerminalFeedback()
{
    Clear();
}

void TerminalFeedback::Draw(const std::string& text)
{
    // "\r" and erase-line rewrite the line in place; stderr is unbuffered.
    std::fprintf(stderr, "\r\033[K%s", text.c_str());
    showing = true;
}

void TerminalFeedback::Clear()
{
    std::lock_guard<std::mutex> lock(mutex);
    if (enabled && showing) {
        std::fputs("\r\033[K", stderr);
        showing = false;
    }
}

void TerminalFeedback::SetStatus(const std::string& text)
{
    std::lock_guard<std::mutex> lock(mutex);
    if (enabled)
        Draw(verb + " reading " + Printable(text));
}

void TerminalFeedback::Progress(int done, int total, const std::string& path)
{
    std::lock_guard<std::mutex> lock(mutex);
    if (!enabled)
        return;
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::string text = verb + " " + std::to_string(done) + "/" + std::to_string(total) + " "
        + Printable(FileNameOf(path));
    const long long left = SecondsLeft(done, total, elapsed);
    if (left >= 0)
        text += ", " + std::to_string(left) + " s left";
    Draw(text);
}

long long TerminalFeedback::SecondsLeft(int done, int total, double elapsed)
{
    if (done <= 0 || total < done || elapsed < 0)
        return -1;
    return static_cast<long long>(elapsed / done * (total - done) + 0.5);
}

TerminalRows::TerminalRows(std::vector<std::string> paths, Command kind, bool dryRun, bool json,
                           std::FILE* out, TerminalFeedback& feedback, RunControl& control)
    : paths(std::move(paths)), kind(kind), dryRun(dryRun), json(json), out(out), feedback(feedback),
      control(control)
{
}

void TerminalRows::SetRow(int row, const RowOutcome& outcome)
{
    std::lock_guard<std::mutex> lock(mutex);
    if (row < next || row >= Count() || waiting.count(row))
        return;
    const PhotoLine line = DescribeRow(kind, dryRun, Path(row), outcome);
    if (!Achieved(line.outcome))
        ++missed;
    else if (kind != Command::GeoTag && !line.reason.empty())   // a grid reference that failed: also on stderr
        std::fprintf(stderr, "pinroute-cli: %s: %s\n", line.path.c_str(), line.reason.c_str());
    waiting[row] = json ? JsonLine(kind, line) : TsvLine(kind, line);
    while (!waiting.empty() && waiting.begin()->first == next) {
        Print(waiting.begin()->second);
        waiting.erase(waiting.begin());
        ++next;
    }
}

void TerminalRows::Finish()
{
    std::lock_guard<std::mutex> lock(mutex);
    for (const auto& entry : waiting)
        Print(entry.second);
    waiting.clear();
}

void TerminalRows::Print(const std::string& text)
{
    feedback.Clear();
    // Each line is flushed at once, so a script reading a pipe sees a photo when it's done.
    if (writeError != 0)
        return;
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), out) != text.size() || std::fflush(out) != 0) {
        writeError = errno != 0 ? errno : EIO;
        control.Stop();
    }
}

std::string Printable(const std::string& text)
{
    std::string out = text;
    for (char& c : out) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f)
            c = '?';
    }
    return out;
}
