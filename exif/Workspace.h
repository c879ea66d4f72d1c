#pragma once
#include <string>

// The working files of one worker: the listing capture, the command file and the tool's
// log. Each worker has its own set, so two photos never share one.
class WriteJournal;

struct WorkerFiles {
    std::string listing;   // .../_output.tmp
    std::string command;   // .../cmd.txt
    std::string log;       // .../log_update_jpg.txt
    WriteJournal* journal = nullptr;   // told of every write before it replaces a file; none: not journalled
};

// A private folder for the working files of one program instance: created with mkdtemp,
// mode 0700, under $XDG_RUNTIME_DIR, else $TMPDIR, else /tmp. The destructor removes it
// with everything in it. Files in it are never opened through a link.
class Workspace {
public:
    Workspace();
    ~Workspace();
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    bool Ready() const { return !folder.empty(); }
    const std::string& Error() const { return error; }   // why it couldn't be created
    const std::string& Folder() const { return folder; }

    // The files of worker n (0, 1, ...), in a subfolder of their own made on first use.
    WorkerFiles Worker(int n);

private:
    std::string folder;
    std::string error;
};
