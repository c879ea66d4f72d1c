#pragma once
#include <QDialog>

#include "photos/PhotoList.h"
#include "photos/RunFeedback.h"

class QLabel;
class QLineEdit;
class QPushButton;
class PhotoListView;

// The program's one window: the photo list, the status line and the command buttons.
class MainDialog : public QDialog, public RunFeedback {
    Q_OBJECT
public:
    explicit MainDialog(QWidget* parent = nullptr);
    ~MainDialog() override;

    PhotoList& Photos() { return photos; }

    void SetStatus(const std::string& text) override;
    void BeginWait() override;
    void EndWait() override;

public slots:
    void OnGeoTag();
    void OnParse();
    void OnRename();
    void OnSetUp();
    void OnAbout();
    void OnClose();
    // Every way of closing ends here: Esc, the Close button and the window's close box.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Initialise();
    QPushButton* AddButton(int id, const char* name, const char* text, int x);

    PhotoList photos;
    PhotoListView* photoList = nullptr;
    QLineEdit* statusLine = nullptr;
    int waitDepth = 0;
};

// Removes "_output.tmp", "cmd.txt" and "log_update_jpg.txt" from the current directory;
// missing ones are passed over.
void DeleteTempFiles();
