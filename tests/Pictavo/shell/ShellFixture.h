#pragma once
// A program folder of its own for every test, scripted prompts and recording stand-ins for the
// control and the features other parts of the program provide.

#include "RecordingFlashControl.h"
#include "TestFiles.h"
#include "UMain.h"
#include "UMainFeatures.h"
#include "ULanguage.h"
#include "platform/Prompts.h"
#include "project/UDataDef.h"

#include <QCoreApplication>
#include <QImage>
#include <QTemporaryDir>
#include <deque>
#include <gtest/gtest.h>

class TScriptedPrompts final : public TPrompts {
public:
    PromptAnswer Message(QWidget *, const QString &text, const QString &caption,
                         PromptButtons buttons) override
    {
        messages << text;
        captions << caption;
        if (!answers.empty()) {
            const PromptAnswer answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return buttons == PromptButtons::Ok ? PromptAnswer::Ok : PromptAnswer::Cancel;
    }
    QStringList OpenFiles(QWidget *, const FileDialogRequest &request) override
    {
        dialogs.push_back(request);
        if (files.empty())
            return {};
        QStringList chosen = files.front();
        files.pop_front();
        return chosen;
    }
    QString SaveFile(QWidget *, const FileDialogRequest &request) override
    {
        dialogs.push_back(request);
        if (saveNames.empty())
            return {};
        const QString chosen = saveNames.front();
        saveNames.pop_front();
        return chosen;
    }

    std::deque<PromptAnswer> answers; // answers to the next message boxes; then OK or Cancel
    std::deque<QStringList> files;    // choices of the next open dialogs; then cancelled
    std::deque<QString> saveNames;    // choices of the next save dialogs; then cancelled
    QStringList messages;
    QStringList captions;
    std::vector<FileDialogRequest> dialogs;
};

// Records what the main window hands over; the publish dialog answers with `publishChoice`.
class TRecordingFeatures final : public TMainFeatures {
public:
    void NewProject(TFrmmain &) override { calls << QStringLiteral("NewProject"); }
    void OpenProjectDialog(TFrmmain &) override { calls << QStringLiteral("OpenProjectDialog"); }
    void OpenProject(TFrmmain &, const QString &path) override { calls << QStringLiteral("OpenProject ") + path; }
    void SaveProject(TFrmmain &) override { calls << QStringLiteral("SaveProject"); }
    bool SaveProjectAs(TFrmmain &) override { calls << QStringLiteral("SaveProjectAs"); return saveResult; }
    bool SaveProjectTo(TFrmmain &, const QString &path) override { calls << QStringLiteral("SaveProjectTo ") + path; return saveResult; }
    void ShowAbout(TFrmmain &) override { calls << QStringLiteral("ShowAbout"); }
    void EditDescription(TFrmmain &, int position) override { calls << QStringLiteral("EditDescription %1").arg(position); }
    void TemplateSettings(TFrmmain &) override { calls << QStringLiteral("TemplateSettings"); }
    void MusicSettings(TFrmmain &) override { calls << QStringLiteral("MusicSettings"); }
    void EditPhoto(TFrmmain &, int position) override { calls << QStringLiteral("EditPhoto %1").arg(position); }
    std::optional<PublishChoice> PublishSettings(TFrmmain &window, int kind) override
    {
        const TTemplate *templ = window.Project().Template();
        calls << QStringLiteral("PublishSettings %1 play %2 loop %3")
                     .arg(kind).arg(templ->AutoPlay()).arg(templ->AutoLoop());
        return publishChoice;
    }
    void Export(TFrmmain &window, int kind) override
    {
        const TSeting *seting = window.Project().Seting();
        calls << QStringLiteral("Export %1 %2x%3").arg(kind).arg(seting->Width()).arg(seting->Height());
    }

    QStringList calls;
    bool saveResult = true;
    std::optional<PublishChoice> publishChoice;
};

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        qputenv("LUMIVUE_HOME", ProgramDir().toUtf8());
        qputenv("HOME", m_root.filePath(QStringLiteral("home")).toUtf8());
        QDir().mkpath(ProgramDir());
        QDir().mkpath(m_root.filePath(QStringLiteral("home")));
        WriteTestFile(ProgramDir() + QStringLiteral("language/language.xml"),
                      ReadTestFile(QStringLiteral(LUMIVUE_SOURCE_DIR "/data/language/language.xml")));
        LoadProgramLanguage();
        SetPrompts(&prompts);
    }

    void TearDown() override
    {
        window.reset();
        // Views hand their released items to deleteLater; free them before the test ends.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SetPrompts(nullptr);
        ReleaseLanguage();
        qunsetenv("LUMIVUE_HOME");
    }

    QString ProgramDir() const { return m_root.filePath(QStringLiteral("program")) + u'/'; }
    QString TestDir() const { return m_root.filePath(QStringLiteral("files")) + u'/'; }

    // A picture file of the given size and colour.
    QString MakePicture(const QString &relative, int width = 64, int height = 48,
                        QColor color = Qt::darkCyan)
    {
        const QString path = TestDir() + relative;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(color);
        image.save(path);
        return path;
    }

    // The main window with a recording control and recording features.
    TFrmmain &OpenWindow(QStringList parameters = {})
    {
        window = std::make_unique<TFrmmain>(
            [this] {
                auto made = std::make_unique<TRecordingFlashControl>();
                control = made.get();
                return std::unique_ptr<TShockwaveFlash>(std::move(made));
            },
            std::move(parameters));
        auto recording = std::make_unique<TRecordingFeatures>();
        features = recording.get();
        window->SetFeatures(std::move(recording));
        return *window;
    }

    // Sends a command as the movie does and lets the event loop run it.
    void Command(const QString &name, const QStringList &arguments = {})
    {
        control->InjectCommand(name, arguments);
        QCoreApplication::sendPostedEvents(window.get());
    }

    TScriptedPrompts prompts;
    std::unique_ptr<TFrmmain> window;
    TRecordingFlashControl *control = nullptr;
    TRecordingFeatures *features = nullptr;

private:
    QTemporaryDir m_root;
};
