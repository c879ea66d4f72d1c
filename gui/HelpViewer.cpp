#include "gui/HelpViewer.h"

#include <QAction>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHelpContentModel>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QScreen>
#include <QSplitter>
#include <QStyle>
#include <QToolBar>

namespace {

// Where the help window's size is kept between runs: beside the journal, in the user's
// state folder. Empty when there is no home to keep it in.
QString SizeFile()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty()) {
        const QString home = qEnvironmentVariable("HOME");
        if (home.isEmpty())
            return {};
        state = home + QStringLiteral("/.local/state");
    }
    return state + QStringLiteral("/pinroute/help-window");
}

// About 90 characters by 40 lines of the window's font, within the screen.
QSize ReadableSize(const QWidget& window)
{
    const QFontMetrics metrics(window.font());
    QSize size(metrics.averageCharWidth() * 90, metrics.lineSpacing() * 40);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    return size;
}

// The size the user left the window at, when it is still a sensible one.
QSize RememberedSize(const QWidget& window)
{
    const QString path = SizeFile();
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return {};
    const QList<QByteArray> numbers = file.readAll().simplified().split(' ');
    if (numbers.size() != 2)
        return {};
    const QSize size(numbers[0].toInt(), numbers[1].toInt());
    const QSize least = ReadableSize(window) / 3;
    if (size.width() < least.width() || size.height() < least.height() || size.width() > 20000 ||
        size.height() > 20000)
        return {};
    return size;
}

}  // namespace

HelpBrowser::HelpBrowser(QHelpEngine* engine, QWidget* parent)
    : QTextBrowser(parent), engine(engine)
{
    setOpenExternalLinks(true);   // web and mail links go to the desktop's programs
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name)
{
    if (name.scheme() == QLatin1String("qthelp"))
        return engine->fileData(name);
    return QTextBrowser::loadResource(type, name);
}

HelpViewer::HelpViewer(std::unique_ptr<QHelpEngine> ownEngine, QWidget* owner)
    : QMainWindow(owner, Qt::Window), engine(std::move(ownEngine))
{
    if (owner)
        owner->installEventFilter(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("helpViewer"));
    setWindowTitle(tr("Pinroute Help"));

    auto* splitter = new QSplitter(this);
    contents = engine->contentWidget();
    contents->setObjectName(QStringLiteral("helpContents"));
    splitter->addWidget(contents);
    browser = new HelpBrowser(engine.get(), splitter);
    browser->setObjectName(QStringLiteral("helpBrowser"));
    splitter->addWidget(browser);
    splitter->setStretchFactor(1, 1);
    setCentralWidget(splitter);

    QToolBar* tools = addToolBar(tr("Help"));
    tools->setObjectName(QStringLiteral("helpTools"));
    tools->setMovable(false);
    contentsAction = tools->addAction(tr("&Contents"));
    contentsAction->setObjectName(QStringLiteral("contentsAction"));
    contentsAction->setCheckable(true);
    contentsAction->setToolTip(tr("Show or hide the list of topics"));
    QAction* back = tools->addAction(style()->standardIcon(QStyle::SP_ArrowBack), tr("&Back"));
    QAction* forward =
        tools->addAction(style()->standardIcon(QStyle::SP_ArrowForward), tr("&Forward"));
    back->setEnabled(false);
    forward->setEnabled(false);
    back->setShortcut(QKeySequence::Back);
    forward->setShortcut(QKeySequence::Forward);
    QAction* close = tools->addAction(tr("Close"));
    close->setShortcut(QKeySequence(Qt::Key_Escape));

    connect(contentsAction, &QAction::toggled, this, &HelpViewer::SetNavigationShown);
    connect(back, &QAction::triggered, browser, &QTextBrowser::backward);
    connect(forward, &QAction::triggered, browser, &QTextBrowser::forward);
    connect(browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(close, &QAction::triggered, this, &QWidget::close);
    connect(contents, &QHelpContentWidget::linkActivated, this, &HelpViewer::ShowPage);

    // The navigation pane starts collapsed: the page takes the whole window. Its topics
    // are unfolded one level, for when it is shown.
    SetNavigationShown(false);
    connect(engine->contentModel(), &QHelpContentModel::contentsCreated, contents,
            [this] { contents->expandToDepth(0); });
}

bool HelpViewer::eventFilter(QObject* watched, QEvent* event)
{
    // A dialog that ends hides itself before it goes; a minimised one hides spontaneously.
    if (watched == parentWidget() && event->type() == QEvent::Hide && !event->spontaneous())
        PassToNextOwner();
    return QMainWindow::eventFilter(watched, event);
}

void HelpViewer::PassToNextOwner()
{
    QWidget* owner = parentWidget();
    owner->removeEventFilter(this);
    QWidget* next = owner->parentWidget() ? owner->parentWidget()->window() : nullptr;
    if (!next) {
        close();
        return;
    }
    const QByteArray place = saveGeometry();   // size, position and maximised state
    const bool shown = isVisible();
    setParent(next, windowFlags());   // hides the window
    next->installEventFilter(this);
    restoreGeometry(place);
    if (shown)
        show();
}

QSize HelpViewer::StartSize() const
{
    const QSize remembered = RememberedSize(*this);
    return remembered.isValid() ? remembered : ReadableSize(*this);
}

void HelpViewer::closeEvent(QCloseEvent* event)
{
    // Kept for the next time; a maximised window keeps the size it had before.
    const QString path = SizeFile();
    const QSize size = isMaximized() || isFullScreen() ? normalGeometry().size() : this->size();
    if (!path.isEmpty() && size.isValid() && QDir().mkpath(QFileInfo(path).path())) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(QByteArray::number(size.width()) + ' ' + QByteArray::number(size.height()) + '\n');
    }
    QMainWindow::closeEvent(event);
}

HelpViewer::~HelpViewer()
{
    // The contents view reads the engine's model: let it go before the engine.
    delete contents;
}

void HelpViewer::ShowPage(const QUrl& url)
{
    browser->setSource(url);
}

void HelpViewer::SetNavigationShown(bool shown)
{
    if (contents)
        contents->setVisible(shown);
    if (contentsAction->isChecked() != shown)
        contentsAction->setChecked(shown);
}
