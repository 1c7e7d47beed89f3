#pragma once
// What the desktop program's tests share: a scratch data directory and profile, message boxes
// and file dialogs replaced by recorders, and a running session with its main window.

#include <QApplication>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>
#include <ostream>
#include <vector>

#include "app/file_chooser.h"
#include "app/main_window.h"
#include "app/message_presenter.h"
#include "app/session.h"
#include "link/file_path.h"
#include "model/radio_image.h"

// Readable QStrings in test messages and failures.
inline std::ostream& operator<<(std::ostream& out, const QString& text)
{
    return out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << text;
}
inline void PrintTo(const QStringList& list, std::ostream* out)
{
    *out << '{';
    for (const QString& text : list)
        *out << text << ',';
    *out << '}';
}

namespace kq904::testing {

inline std::vector<char> fileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The title as the window system shows it: Qt puts the modified mark where "[*]" stands.
inline QString shownTitle(const QWidget& window)
{
    QString title = window.windowTitle();
    return title.replace(
        QStringLiteral("[*]"), window.isWindowModified() ? QStringLiteral("*") : QString());
}

// Message boxes as a list of texts; optionally runs something while the "box" is open, as the
// real modal box would let the tick run.
class RecordingPresenter final : public MessagePresenter {
public:
    struct Shown {
        bool error;
        QString text;
        QString question = {}; // asked Yes or No under the text
    };
    // `answer` is what a Yes/No question gets; without one, the box's default: No.
    explicit RecordingPresenter(std::vector<Shown>& log, const bool* answer = nullptr)
        : log_(log)
        , answer_(answer)
    { }
    void showMessage(QWidget*, const QString& text) override { log_.push_back({false, text}); }
    void showError(QWidget*, const QString& text) override { log_.push_back({true, text}); }
    bool askYesNo(QWidget*, const QString& text, const QString& question) override
    {
        log_.push_back({true, text, question});
        return answer_ && *answer_;
    }

private:
    std::vector<Shown>& log_;
    const bool* answer_;
};

// File dialogs that answer with prepared names and count how often they were asked.
class ScriptedChooser final : public FileChooser {
public:
    struct Answers {
        QString open;
        QString saveAs;
        QString saveCopy;
        QString pdf;
        int asked = 0;
    };
    explicit ScriptedChooser(Answers& answers)
        : answers_(answers)
    { }
    QString openSetFile(QWidget*) override { return ask(answers_.open); }
    QString saveSetFileAs(QWidget*, const QString&) override { return ask(answers_.saveAs); }
    QString saveSetFileCopy(QWidget*) override { return ask(answers_.saveCopy); }
    QString exportPdf(QWidget*, const QString&) override { return ask(answers_.pdf); }

private:
    QString ask(const QString& answer)
    {
        ++answers_.asked;
        return answer;
    }
    Answers& answers_;
};

// Waits for the next modal window (a form opened by a command), hands it to `inspect` and
// closes it, so a test can run a command that would otherwise wait for the user.
inline void inspectNextModal(std::function<void(QWidget*)> inspect)
{
    auto* poll = new QTimer(qApp);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, inspect] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        poll->stop();
        poll->deleteLater();
        inspect(modal);
        modal->close();
    });
    poll->start();
}

// A scratch data directory and profile, and a session over them. The window is made on demand
// so tests can prepare the data directory first.
class AppFixture : public ::testing::Test {
protected:
    std::filesystem::path dataDir() const { return toPath(scratch_.path()) / "data"; }
    std::filesystem::path file(const std::string& name) const
    {
        return toPath(scratch_.path()) / name;
    }
    QString profilePath() const { return scratch_.filePath(QStringLiteral("profile.ini")); }

    void SetUp() override
    {
        ASSERT_TRUE(scratch_.isValid());
        std::filesystem::create_directories(dataDir());
    }

    Session& startSession(bool simulate = false)
    {
        SessionOptions options;
        options.dataDir = dataDir();
        options.simulate = simulate;
        session_ =
            std::make_unique<Session>(options, std::make_unique<ProfileSettings>(profilePath()));
        session_->setMessagePresenter(std::make_unique<RecordingPresenter>(messages_, &answerYes_));
        return *session_;
    }

    CMainFrame& startWindow(bool simulate = false)
    {
        startSession(simulate);
        window_ = std::make_unique<CMainFrame>(*session_);
        window_->setFileChooser(std::make_unique<ScriptedChooser>(answers_));
        return *window_;
    }

    // Shows the window at a fixed size and lets it lay out and paint.
    void showWindow(QSize size = QSize(1000, 600))
    {
        window_->resize(size);
        window_->show();
        settle();
    }

    static void settle()
    {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }

    void TearDown() override
    {
        window_.reset();
        session_.reset();
    }

    QTemporaryDir scratch_;
    std::vector<RecordingPresenter::Shown> messages_;
    bool answerYes_ = false; // the answer to the next Yes/No question
    ScriptedChooser::Answers answers_;
    std::unique_ptr<Session> session_;
    std::unique_ptr<CMainFrame> window_;
};

} // namespace kq904::testing
