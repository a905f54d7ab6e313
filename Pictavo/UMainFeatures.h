#pragma once
// What the main window hands over to the project, dialog, publishing, music and photo-editor
// parts of the program. Tests override them to record what the window asks for; the photo
// editor still tells the user that it is not available yet.

#include <QString>
#include <optional>

class TFrmmain;

// What the publish settings dialog hands back when it closed with OK.
struct PublishChoice {
    enum Aspect { Wide169, Classic43, Custom };
    double width = 0;
    double height = 0;
    int qualityIndex = -1; // 0: 50, 1: 85, 2: 100; anything else keeps the quality
    QString outputFolder;
    Aspect aspect = Custom;
};

class TMainFeatures {
public:
    virtual ~TMainFeatures() = default;

    virtual void NewProject(TFrmmain &window);
    virtual void OpenProjectDialog(TFrmmain &window);
    // Opens the project file (with the save prompt first).
    virtual void OpenProject(TFrmmain &window, const QString &path);
    virtual void SaveProject(TFrmmain &window);
    // True when a file was written.
    virtual bool SaveProjectAs(TFrmmain &window);
    virtual bool SaveProjectTo(TFrmmain &window, const QString &path);

    virtual void ShowAbout(TFrmmain &window);
    virtual void EditDescription(TFrmmain &window, int position);
    virtual void TemplateSettings(TFrmmain &window);
    virtual void MusicSettings(TFrmmain &window);
    virtual void EditPhoto(TFrmmain &window, int position);
    virtual void PhotoEdited(TFrmmain &window, qint64 wParam, qint64 lParam);

    // The publish settings dialog for publish kind `kind`; nothing when it was cancelled.
    virtual std::optional<PublishChoice> PublishSettings(TFrmmain &window, int kind);
    // Builds the output of kind `kind` from the project (kind 5: the preview in the editor).
    virtual void Export(TFrmmain &window, int kind);

protected:
    static void NotAvailable(TFrmmain &window);
};
