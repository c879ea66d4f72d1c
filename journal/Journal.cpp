#include "journal/Journal.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <set>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include "common/FileSafety.h"
#include "common/Leftovers.h"
#include "common/PathText.h"
#include "journal/JournalCheck.h"
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
    w.Key("folders");
    w.StartArray();
    for (const auto& folder : run.folders)
        w.String(folder.data(), static_cast<rapidjson::SizeType>(folder.size()));
    w.EndArray();
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
    const auto folders = doc.FindMember("folders");
    if (folders != doc.MemberEnd() && folders->value.IsArray())
        for (const auto& f : folders->value.GetArray())
            if (f.IsString())
                run.folders.emplace_back(f.GetString(), f.GetStringLength());
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
        run.photos.push_back(std::move(e));
    }
    return true;
}

// When a run began, from its id "20261207-221530-4711" (local time), for a run whose file
// can't be read; 0 when the id holds no time.
int64_t TimeOfId(const std::string& id)
{
    struct tm fields = {};
    if (id.size() < 15 || id[8] != '-' || !strptime(id.substr(0, 15).c_str(), "%Y%m%d-%H%M%S", &fields))
        return 0;
    fields.tm_isdst = -1;
    const time_t seconds = mktime(&fields);
    return seconds < 0 ? 0 : static_cast<int64_t>(seconds);
}

// Reads run id from the folder opened; false with reason.
bool LoadFrom(int folder, const std::string& id, JournalRun& run, std::string& reason)
{
    std::string text;
    if (!ReadJournalFile(folder, id + ".json", text, reason)) {
        reason = "refused: " + reason;
        return false;
    }
    if (!Parse(text, run)) {
        reason = "damaged: it is not a journal Pinroute can read";
        return false;
    }
    if (!CheckJournalRun(run, id, reason)) {
        reason = "damaged: " + reason;
        return false;
    }
    return true;
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

std::string AbsolutePath(const std::string& path)
{
    if (path.empty() || path[0] == '/')
        return path;
    std::string cwd(4096, '\0');
    if (!getcwd(&cwd[0], cwd.size()))
        return path;
    cwd.resize(cwd.find('\0'));
    std::string rest = path;
    while (rest.compare(0, 2, "./") == 0)
        rest.erase(0, 2);
    if (rest == ".")
        return cwd;
    return (cwd == "/" ? "" : cwd) + "/" + rest;
}

bool SaveJournal(const JournalRun& run, std::string& reason)
{
    const int folder = OpenJournalFolder(true, reason);
    if (folder < 0)
        return false;
    const bool saved = WriteJournalFile(folder, run.id + ".json", Serialise(run), reason);
    close(folder);
    return saved;
}

bool LoadJournal(const std::string& id, JournalRun& run, std::string& reason)
{
    if (!IsRunId(id)) {
        reason = "no run " + ShownText(id);
        return false;
    }
    const int folder = OpenJournalFolder(false, reason);
    if (folder < 0) {
        reason = "run " + id + " can't be read: " + reason;
        return false;
    }
    const bool loaded = LoadFrom(folder, id, run, reason);
    close(folder);
    if (!loaded)
        reason = "run " + id + " can't be undone: " + reason;
    return loaded;
}

std::vector<JournalRun> ListJournals(std::string* folderProblem)
{
    std::vector<JournalRun> runs;
    std::string reason;
    bool missing = false;
    const int folder = OpenJournalFolder(false, reason, &missing);
    if (folderProblem)
        *folderProblem = folder < 0 && !missing ? reason : std::string();
    if (folder < 0)
        return runs;
    for (const auto& name : JournalFileNames(folder, ".json")) {
        JournalRun run;
        const std::string id = name.substr(0, name.size() - 5);
        if (!IsRunId(id))
            continue;
        if (!LoadFrom(folder, id, run, reason)) {
            // A run that can't be used still holds its place, so that nothing skips past it.
            run = JournalRun();
            run.id = id;
            run.time = TimeOfId(id);
            run.startedNanos = run.time * 1000000000;
            run.problem = reason;
        }
        runs.push_back(std::move(run));
    }
    close(folder);
    std::sort(runs.begin(), runs.end(), [](const JournalRun& a, const JournalRun& b) {
        return a.startedNanos != b.startedNanos ? a.startedNanos > b.startedNanos : a.id > b.id;
    });
    return runs;
}

void PruneJournals(int64_t now)
{
    const std::vector<JournalRun> runs = ListJournals();
    std::string reason;
    const int folder = OpenJournalFolder(false, reason);
    if (folder < 0)
        return;
    for (size_t i = kKeepRuns; i < runs.size(); ++i)
        if (now - runs[i].time > kKeepSeconds)
            unlinkat(folder, (runs[i].id + ".json").c_str(), 0);
    // The temporary files of saves that were killed: ".ID.json.PID-XXXXXX".
    const auto pidOf = [](const std::string& name) {
        const size_t at = name.rfind(".json.");
        return name[0] == '.' && at != std::string::npos ? TempFilePid(name, at + 6) : 0L;
    };
    for (const auto& name : LeftoversOfDeadRuns(JournalFolder(), pidOf, false))
        unlinkat(folder, name.c_str(), 0);
    close(folder);
}

bool RunJournal::Begin(const std::string& command, const std::string& settings, const std::string& folder,
                       const std::vector<std::string>& folders, std::string& reason)
{
    const std::lock_guard<std::mutex> hold(lock);
    run = JournalRun();
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    run.time = static_cast<int64_t>(now.tv_sec);
    run.startedNanos = run.time * 1000000000 + now.tv_nsec;
    run.id = NewId(run.time);
    // Two runs of one process within a second get distinct records.
    const int journalFolder = OpenJournalFolder(true, reason);
    if (journalFolder < 0)
        return false;
    struct stat info;
    for (int n = 2; fstatat(journalFolder, (run.id + ".json").c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0; ++n)
        run.id = NewId(run.time) + "-" + std::to_string(n);
    close(journalFolder);
    run.command = command;
    run.settings = settings;
    run.folder = folder;
    run.folders = folders;
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
        e.photo = AbsolutePath(w->photoPath);
        e.file = AbsolutePath(w->file);
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
    e.photo = AbsolutePath(newPath);
    e.oldPath = AbsolutePath(oldPath);
    run.photos.push_back(std::move(e));
    if (SaveJournal(run, reason))
        return true;
    run.photos.pop_back();
    return false;
}

bool RunJournal::Finish(bool finished, std::string& reason)
{
    const std::lock_guard<std::mutex> hold(lock);
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
