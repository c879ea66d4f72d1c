#include "journal/Journal.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include "common/FileSafety.h"
#include "common/PathText.h"
#include "settings/Settings.h"

namespace {

constexpr size_t kKeepRuns = 100;
constexpr int64_t kKeepSeconds = 90 * 86400;

using Writer = rapidjson::Writer<rapidjson::StringBuffer>;

void Text(Writer& w, const char* name, const std::string& value)
{
    w.Key(name);
    w.String(value.data(), static_cast<rapidjson::SizeType>(value.size()));
}

std::string Serialise(const JournalRun& run)
{
    rapidjson::StringBuffer buffer;
    Writer w(buffer);
    w.StartObject();
    Text(w, "id", run.id);
    w.Key("time");
    w.Int64(run.time);
    w.Key("startedNanos");
    w.Int64(run.startedNanos);
    Text(w, "command", run.command);
    Text(w, "settings", run.settings);
    Text(w, "folder", run.folder);
    w.Key("finished");
    w.Bool(run.finished);
    w.Key("photos");
    w.StartArray();
    for (const JournalEntry& e : run.photos) {
        w.StartObject();
        Text(w, "photo", e.photo);
        Text(w, "file", e.file);
        w.Key("sidecar");
        w.Bool(e.sidecar);
        w.Key("fileExisted");
        w.Bool(e.fileExisted);
        Text(w, "oldPath", e.oldPath);
        w.Key("keys");
        w.StartArray();
        for (const auto& key : e.keys)
            w.String(key.data(), static_cast<rapidjson::SizeType>(key.size()));
        w.EndArray();
        w.Key("before");
        w.StartArray();
        for (const TagValue& t : e.before) {
            w.StartArray();
            w.String(t.key.data(), static_cast<rapidjson::SizeType>(t.key.size()));
            w.String(t.type.data(), static_cast<rapidjson::SizeType>(t.type.size()));
            w.String(t.value.data(), static_cast<rapidjson::SizeType>(t.value.size()));
            w.EndArray();
        }
        w.EndArray();
        // 64-bit fingerprints as text: JSON readers elsewhere keep only 53 bits of a number.
        Text(w, "beforeHash", std::to_string(e.beforeHash));
        Text(w, "afterHash", std::to_string(e.afterHash));
        w.Key("size");
        w.Int64(e.size);
        w.Key("mtimeNanos");
        w.Int64(e.mtimeNanos);
        w.EndObject();
    }
    w.EndArray();
    w.EndObject();
    return std::string(buffer.GetString(), buffer.GetSize()) + "\n";
}

std::string Member(const rapidjson::Value& object, const char* name)
{
    const auto found = object.FindMember(name);
    return found != object.MemberEnd() && found->value.IsString()
        ? std::string(found->value.GetString(), found->value.GetStringLength())
        : std::string();
}

int64_t Number(const rapidjson::Value& object, const char* name, int64_t fallback)
{
    const auto found = object.FindMember(name);
    return found != object.MemberEnd() && found->value.IsInt64() ? found->value.GetInt64() : fallback;
}

bool Flag(const rapidjson::Value& object, const char* name, bool fallback)
{
    const auto found = object.FindMember(name);
    return found != object.MemberEnd() && found->value.IsBool() ? found->value.GetBool() : fallback;
}

bool Parse(const std::string& text, JournalRun& run)
{
    rapidjson::Document doc;
    doc.Parse(text.data(), text.size());
    if (doc.HasParseError() || !doc.IsObject())
        return false;
    run = JournalRun();
    run.id = Member(doc, "id");
    run.time = Number(doc, "time", 0);
    run.startedNanos = Number(doc, "startedNanos", run.time * 1000000000);
    run.command = Member(doc, "command");
    run.settings = Member(doc, "settings");
    run.folder = Member(doc, "folder");
    run.finished = Flag(doc, "finished", false);
    const auto photos = doc.FindMember("photos");
    if (run.id.empty() || photos == doc.MemberEnd() || !photos->value.IsArray())
        return false;
    for (const auto& p : photos->value.GetArray()) {
        if (!p.IsObject())
            return false;
        JournalEntry e;
        e.photo = Member(p, "photo");
        e.file = Member(p, "file");
        e.sidecar = Flag(p, "sidecar", false);
        e.fileExisted = Flag(p, "fileExisted", true);
        e.oldPath = Member(p, "oldPath");
        const auto keys = p.FindMember("keys");
        if (keys != p.MemberEnd() && keys->value.IsArray())
            for (const auto& k : keys->value.GetArray())
                if (k.IsString())
                    e.keys.emplace_back(k.GetString(), k.GetStringLength());
        const auto before = p.FindMember("before");
        if (before != p.MemberEnd() && before->value.IsArray())
            for (const auto& t : before->value.GetArray())
                if (t.IsArray() && t.Size() == 3 && t[0].IsString() && t[1].IsString() && t[2].IsString())
                    e.before.push_back({std::string(t[0].GetString(), t[0].GetStringLength()),
                                        std::string(t[1].GetString(), t[1].GetStringLength()),
                                        std::string(t[2].GetString(), t[2].GetStringLength())});
        e.beforeHash = std::strtoull(Member(p, "beforeHash").c_str(), nullptr, 10);
        e.afterHash = std::strtoull(Member(p, "afterHash").c_str(), nullptr, 10);
        e.size = Number(p, "size", -1);
        e.mtimeNanos = Number(p, "mtimeNanos", -1);
        run.photos.push_back(std::move(e));
    }
    return true;
}

std::string PathOf(const std::string& id)
{
    return JournalFolder() + "/" + id + ".json";
}

// Makes folder and the folders above it that are missing, 0700.
bool MakeFolders(const std::string& folder, std::string& reason)
{
    for (size_t end = folder.find('/', 1);; end = folder.find('/', end + 1)) {
        const std::string part = folder.substr(0, end);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            reason = "can't make " + part + ": " + SystemReason(errno);
            return false;
        }
        if (end == std::string::npos)
            return true;
    }
}

std::string NewId(int64_t now)
{
    const time_t seconds = static_cast<time_t>(now);
    struct tm fields;
    localtime_r(&seconds, &fields);
    char text[64];
    std::snprintf(text, sizeof text, "%04d%02d%02d-%02d%02d%02d-%ld", fields.tm_year + 1900, fields.tm_mon + 1,
                  fields.tm_mday, fields.tm_hour, fields.tm_min, fields.tm_sec, static_cast<long>(getpid()));
    return text;
}

}  // namespace

std::string JournalFolder()
{
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && state[0] == '/')
        return std::string(state) + "/pinroute";
    const char* home = std::getenv("HOME");
    return std::string(home && home[0] ? home : "/tmp") + "/.local/state/pinroute";
}

bool SaveJournal(const JournalRun& run, std::string& reason)
{
    return MakeFolders(JournalFolder(), reason) && ReplaceFileSafely(PathOf(run.id), Serialise(run), 0600, reason);
}

bool LoadJournal(const std::string& id, JournalRun& run, std::string& reason)
{
    if (id.empty() || id.find('/') != std::string::npos || id[0] == '.') {
        reason = "no run " + id;
        return false;
    }
    std::string text;
    if (!ReadRegularFile(PathOf(id), text, reason)) {
        reason = "no run " + id + " (" + reason + ")";
        return false;
    }
    if (!Parse(text, run)) {
        reason = "the journal of run " + id + " can't be read";
        return false;
    }
    return true;
}

std::vector<JournalRun> ListJournals()
{
    std::vector<JournalRun> runs;
    DIR* dir = opendir(JournalFolder().c_str());
    if (!dir)
        return runs;
    while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() <= 5 || name[0] == '.' || name.compare(name.size() - 5, 5, ".json") != 0)
            continue;
        JournalRun run;
        std::string reason;
        if (LoadJournal(name.substr(0, name.size() - 5), run, reason))
            runs.push_back(std::move(run));
    }
    closedir(dir);
    std::sort(runs.begin(), runs.end(), [](const JournalRun& a, const JournalRun& b) {
        return a.startedNanos != b.startedNanos ? a.startedNanos > b.startedNanos : a.id > b.id;
    });
    return runs;
}

void PruneJournals(int64_t now)
{
    const std::vector<JournalRun> runs = ListJournals();
    for (size_t i = kKeepRuns; i < runs.size(); ++i)
        if (now - runs[i].time > kKeepSeconds)
            unlink(PathOf(runs[i].id).c_str());
}

bool RunJournal::Begin(const std::string& command, const std::string& settings, const std::string& folder,
                       std::string& reason)
{
    const std::lock_guard<std::mutex> hold(lock);
    run = JournalRun();
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    run.time = static_cast<int64_t>(now.tv_sec);
    run.startedNanos = run.time * 1000000000 + now.tv_nsec;
    run.id = NewId(run.time);
    // Two runs of one process within a second get distinct records.
    for (int n = 2; access(PathOf(run.id).c_str(), F_OK) == 0; ++n)
        run.id = NewId(run.time) + "-" + std::to_string(n);
    run.command = command;
    run.settings = settings;
    run.folder = folder;
    if (!SaveJournal(run, reason))
        return false;
    PruneJournals(run.time);
    return true;
}

bool RunJournal::Recording(const std::vector<const GpsWrite*>& writes, std::string& reason)
{
    const std::lock_guard<std::mutex> hold(lock);
    const size_t before = run.photos.size();
    for (const GpsWrite* w : writes) {
        JournalEntry e;
        e.photo = w->photoPath;
        e.file = w->file;
        e.sidecar = w->sidecar;
        e.fileExisted = w->fileExisted;
        e.keys = CommandKeys(w->applied);
        e.before = w->namedBefore;
        e.beforeHash = w->beforeHash;
        e.afterHash = w->afterHash;
        run.photos.push_back(std::move(e));
    }
    if (SaveJournal(run, reason))
        return true;
    run.photos.resize(before);
    return false;
}

bool RunJournal::RecordRename(const std::string& oldPath, const std::string& newPath, std::string& reason)
{
    const std::lock_guard<std::mutex> hold(lock);
    JournalEntry e;
    e.photo = newPath;
    e.oldPath = oldPath;
    run.photos.push_back(std::move(e));
    if (SaveJournal(run, reason))
        return true;
    run.photos.pop_back();
    return false;
}

bool RunJournal::Finish(bool finished, std::string& reason)
{
    const std::lock_guard<std::mutex> hold(lock);
    for (JournalEntry& e : run.photos) {
        struct stat info;
        const std::string& path = e.file.empty() ? e.photo : e.file;
        if (stat(path.c_str(), &info) == 0) {
            e.size = info.st_size;
            e.mtimeNanos = static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
        }
    }
    run.finished = finished;
    return SaveJournal(run, reason);
}

JournalRun RunJournal::Run() const
{
    const std::lock_guard<std::mutex> hold(lock);
    return run;
}

std::string SettingsSummary(const Settings& settings)
{
    std::string text;
    for (const auto& key : Settings::Keys())
        if (key != "JPGDir")
            text += (text.empty() ? "" : "; ") + key + "=" + settings.Get(key);
    return text;
}

bool StartJournal(RunJournal& journal, const std::string& command, const Settings& settings,
                  const std::vector<std::string>& photoPaths, RunResult& result)
{
    if (settings.Journal == 0)
        return true;
    std::string folder = photoPaths.empty() ? std::string() : FolderOf(photoPaths.front());
    for (const auto& path : photoPaths)
        if (FolderOf(path) != folder)
            folder.clear();
    if (journal.Begin(command, SettingsSummary(settings), folder, result.journalError)) {
        result.journalId = journal.Run().id;
        return true;
    }
    result.status = RunStatus::NoJournal;
    result.journalError = "the journal can't be written in " + JournalFolder() + ": " + result.journalError;
    return false;
}

void EndJournal(RunJournal& journal, const RunResult& result)
{
    if (result.journalId.empty())
        return;
    std::string reason;
    journal.Finish(result.status == RunStatus::Done, reason);   // the record as it stands still serves undo
}
