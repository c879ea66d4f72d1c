// With a pseudo-translation loaded, in which every catalogue text reads "[[text]]", every text
// the window and its dialogs show must carry the mark: a text without it never went through
// the catalogues. File names, paths, numbers, dates, positions and addresses are the user's
// data, not texts, and may stand unmarked.
#include <sys/stat.h>

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <gtest/gtest.h>

#include "gui/AboutDialog.h"
#include "gui/ClockOffsetDialog.h"
#include "gui/HelpLauncher.h"
#include "gui/HelpViewer.h"
#include "gui/MainDialog.h"
#include "gui/PhotoListView.h"
#include "gui/SetupDialog.h"
#include "gui/Translations.h"
#include "settings/Settings.h"
#include "support/TestSupport.h"

namespace {

// The German catalogue with every translation replaced by its source between "[[" and "]]",
// compiled by lrelease into folder/pseudo.qm.
bool BuildPseudoCatalogue(const TempDir& folder, QTranslator& translator)
{
    QFile in(QStringLiteral(PINROUTE_TS_DE));
    const QString ts = QString::fromStdString(folder.File("pseudo.ts"));
    QFile out(ts);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        return false;
    QXmlStreamReader reader(&in);
    QXmlStreamWriter writer(&out);
    QString source;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == u"source") {
            source = reader.readElementText();
            writer.writeTextElement(QStringLiteral("source"), source);
        } else if (reader.isStartElement() && reader.name() == u"translation") {
            reader.skipCurrentElement();
            writer.writeTextElement(QStringLiteral("translation"), QStringLiteral("[[%1]]").arg(source));
        } else if (!reader.isDTD()) {
            writer.writeCurrentToken(reader);
        }
    }
    out.close();
    const QString qm = QString::fromStdString(folder.File("pseudo.qm"));
    if (reader.hasError() || QProcess::execute(QStringLiteral(PINROUTE_LRELEASE), {ts, QStringLiteral("-qm"), qm}) != 0)
        return false;
    return translator.load(qm);
}

// What is left of text once its marked parts, markup and the user's data are taken out:
// letters here are a text that was never translated.
QString Unmarked(QString text, const QString& folder)
{
    static const QRegularExpression marked(QStringLiteral("\\[\\[[^\\[\\]]*\\]\\]"));
    static const QRegularExpression data(QStringLiteral(
        "\\x{2192}[^\\n]*|<[^>]*>|https?://\\S+|mailto:\\S+|[\\w.-]+@[\\w.-]+|\\b[\\w-]+\\.(jpg|JPG|gpx|xmp|ini|qhc)\\b|\\bUTC[+-]?|"
        "[\\d.,:;+\\-/() \\n\\x{2013}\\x{2014}\\x{2192}\\x{2026}]"));
    static const QRegularExpression gridReference(QStringLiteral("\\b[A-Z]{2} \\d+ \\d+\\b"));
    for (qsizetype before = -1; before != text.size();) {
        before = text.size();
        text.remove(marked);
    }
    text.remove(folder).remove(gridReference);
    // Dates in the locale's form name its months.
    for (int month = 1; month <= 12; ++month)
        for (QLocale::FormatType form : {QLocale::LongFormat, QLocale::ShortFormat})
            text.remove(QRegularExpression(QStringLiteral("\\b%1\\b").arg(QLocale().monthName(month, form))));
    return text.remove(data).trimmed();
}

class PseudoTexts {
public:
    explicit PseudoTexts(QString folder) : folder(std::move(folder)) {}
    void Check(const QString& where, const QString& text)
    {
        if (!Unmarked(text, folder).isEmpty())
            ADD_FAILURE() << "not translated: " << where.toStdString() << ": \"" << text.toStdString() << "\"";
    }
    // Every text of a window a user can see or have read out: titles, labels, buttons,
    // group boxes, tips, placeholders, accessible names, actions, list items and table cells.
    void CheckWindow(QWidget& window)
    {
        Check(window.objectName() + QStringLiteral(" title"), window.windowTitle());
        for (QWidget* w : window.findChildren<QWidget*>()) {
            if (!w->isVisibleTo(&window))
                continue;
            const QString name = w->objectName().isEmpty() ? QString::fromUtf8(w->metaObject()->className()) : w->objectName();
            if (name == QStringLiteral("legalLabel"))
                continue;   // the copyright notice is the author's own line
            Check(name + QStringLiteral(" tip"), w->toolTip());
            Check(name + QStringLiteral(" accessible name"), w->accessibleName());
            Check(name + QStringLiteral(" accessible description"), w->accessibleDescription());
            if (auto* label = qobject_cast<QLabel*>(w))
                Check(name, label->text());
            if (auto* button = qobject_cast<QAbstractButton*>(w))
                Check(name, button->text());
            if (auto* group = qobject_cast<QGroupBox*>(w))
                Check(name, group->title());
            if (auto* edit = qobject_cast<QLineEdit*>(w))
                Check(name + QStringLiteral(" placeholder"), edit->placeholderText());
            if (auto* list = qobject_cast<QListWidget*>(w))
                for (int i = 0; i < list->count(); ++i)
                    Check(name, list->item(i)->text());
            for (QAction* action : w->actions()) {
                Check(name + QStringLiteral(" action"), action->text());
                Check(name + QStringLiteral(" action tip"), action->toolTip());
            }
        }
    }
    void CheckTable(QAbstractItemView& view)
    {
        const QAbstractItemModel* model = view.model();
        for (int column = 0; column < model->columnCount(); ++column)
            Check(QStringLiteral("header"), model->headerData(column, Qt::Horizontal).toString());
        for (int row = 0; row < model->rowCount(); ++row)
            for (int role : {int(Qt::DisplayRole), int(Qt::ToolTipRole), int(Qt::AccessibleTextRole)})
                for (int column = 1; column < model->columnCount(); ++column)
                    Check(QStringLiteral("row %1").arg(row), model->index(row, column).data(role).toString());
    }
    void CheckBoxes(const std::vector<RecordingBoxes::Box>& boxes)
    {
        for (const auto& box : boxes) {
            Check(QStringLiteral("message box"), QString::fromStdString(box.text));
            Check(QStringLiteral("message box title"), QString::fromStdString(box.caption));
        }
    }

private:
    QString folder;
};

void RunAndWait(MainDialog& dialog, const char* button)
{
    QSignalSpy finished(&dialog, &MainDialog::RunFinished);
    dialog.findChild<QPushButton*>(QLatin1String(button))->click();
    if (dialog.Running())
        ASSERT_TRUE(finished.wait(60000));
}

TEST(PseudoTranslation, EveryTextTheWindowShowsIsTranslated)
{
    TempDir dir;
    QTranslator pseudo;
    ASSERT_TRUE(BuildPseudoCatalogue(dir, pseudo));
    QCoreApplication::installTranslator(&pseudo);
    PseudoTexts texts(QString::fromStdString(dir.Path()));

    const std::string runtime = dir.File("runtime");
    mkdir(runtime.c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    // Tagged, rejected (a day off), and a photo without a capture time.
    WriteJpegTakenAt(dir.File("IMG_1.jpg"), "2006:05:01 10:00:00");
    WriteJpegTakenAt(dir.File("IMG_2.jpg"), "2006:05:02 10:00:00");
    WriteFile(dir.File("IMG_3.jpg"), "no photo");
    WriteFile(dir.File("walk.gpx"), "<gpx><trk><trkseg><trkpt lat=\"54.5\" lon=\"-3\"><time>2006-05-01T10:00:00Z</time>"
                                    "</trkpt></trkseg></trk></gpx>");
    const std::string ini = dir.File("pinroute.ini");
    WriteFile(ini, "[Config]\nJPGDir=" + dir.Path() + "/\nGPXPath=" + dir.File("walk.gpx") + "\nShowMap=0\n");

    RecordingBoxes boxes;
    {
        MainDialog main(ini);
        main.show();
        texts.CheckWindow(main);   // before any run: the status label, the buttons
        auto* list = main.findChild<PhotoListView*>(QStringLiteral("photoList"));
        RunAndWait(main, "geotagButton");
        RunAndWait(main, "parseButton");
        RunAndWait(main, "geotagButton");
        // The questions before an undo and a rename, answered no.
        boxes.answer = false;
        list->RowMenu(0)->findChild<QAction*>(QStringLiteral("undoLastRunAction"))->trigger();
        RunAndWait(main, "renameButton");
        texts.CheckWindow(main);
        texts.CheckTable(*list);
        QMenu* menu = list->RowMenu(0);
        for (QAction* action : menu->actions())
            texts.Check(QStringLiteral("row menu"), action->text());
        main.hide();
    }
    // A row of every kind, with the core's own words for it.
    PhotoList kinds;
    std::vector<std::string> names;
    for (int kind = 0; kind <= static_cast<int>(RowKind::Kept); ++kind)
        names.push_back(dir.File("IMG_" + std::to_string(kind) + ".jpg"));
    kinds.AddDroppedFiles(names);
    for (int kind = 0; kind <= static_cast<int>(RowKind::Kept); ++kind) {
        RowOutcome outcome(static_cast<RowKind>(kind));
        if (outcome.kind == RowKind::TaggedInSidecar)
            outcome.text = SidecarText(names[static_cast<size_t>(kind)] + ".xmp");
        kinds.SetRow(kind, outcome);
    }
    PhotoListView kindsView(kinds, nullptr, false);
    texts.CheckTable(kindsView);
    Settings settings;
    settings.Read(ini);
    SetupDialog setup(settings, ini);
    AboutDialog about;
    ClockOffsetDialog clock(QString::fromStdString(dir.Path() + "/"));
    Settings suggestSettings;
    suggestSettings.JPGDir = dir.Path() + "/";
    suggestSettings.GPXPath = dir.File("walk.gpx");
    OffsetSuggestionsDialog suggestions(suggestSettings);
    QSignalSpy ready(&suggestions, &OffsetSuggestionsDialog::Ready);
    ASSERT_TRUE(suggestions.Finished() || ready.wait(60000));
    setup.findChild<QLineEdit*>(QStringLiteral("offsetEdit"))->setText(QStringLiteral("ten"));
    setup.findChild<QPushButton*>(QStringLiteral("saveButton"))->click();   // refused, with a message
    for (QDialog* window : std::initializer_list<QDialog*>{&setup, &about, &clock, &suggestions}) {
        window->show();
        texts.CheckWindow(*window);
        window->hide();
    }
    HelpLauncher(std::string(PINROUTE_HELP_DIR) + "/pinroute.qhc").ShowTopic("pinroute.html");
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* viewer = qobject_cast<HelpViewer*>(w); viewer && viewer->isVisible()) {
            texts.CheckWindow(*viewer);
            viewer->close();
        }
    texts.CheckBoxes(boxes.shown);
    texts.CheckBoxes(boxes.asked);
    EXPECT_EQ(1u, boxes.shown.size());
    EXPECT_EQ(2u, boxes.asked.size());
    QCoreApplication::removeTranslator(&pseudo);
}

}  // namespace
