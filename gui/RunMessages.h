#pragma once
#include <QCoreApplication>
#include <QString>

#include "journal/Journal.h"
#include "run/Command.h"

// The window's words for its runs: the commands' names, the question before an Undo, and
// the message boxes after a run that met a problem.
class RunMessages {
    Q_DECLARE_TR_FUNCTIONS(RunMessages)

public:
    static QString CommandName(Command command);
    // "Undo the last run?" with what it did, to how many photos, where and when.
    static QString UndoQuestion(const JournalRun& run);
    // Why a finished GeoTag run matched nothing: the two time spans in the locale's form.
    static QString NoMatchText(const RunResult& result);
    // The boxes a run's end may call for: the journal, no match, track files skipped.
    static void ShowProblems(Command command, const RunResult& result);
};
