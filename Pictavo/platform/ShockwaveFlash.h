#pragma once
// What the program needs of the control that plays the editor UI movie: a window to place in the
// main window, the movie to play, the movie's outgoing calls as request texts, and calls into the
// movie's functions by invoke text.

#include <QString>
#include <functional>
#include <memory>

class QWidget;

// Object name of the control's window. The main window's message hook recognises right clicks on
// the editor UI by it.
inline constexpr char FlashWindowClass[] = "MacromediaFlashPlayerActiveX";

class TShockwaveFlash {
public:
    // Receives one request text (external-call XML) per call of the movie to its host, on the
    // user-interface thread.
    using FlashCallHandler = std::function<void(const QString &request)>;

    virtual ~TShockwaveFlash() = default;

    // The control's window; the owner places and sizes it.
    virtual QWidget *Widget() = 0;

    // Loads the movie file at `path` and starts it.
    virtual void SetMovie(const QString &path) = 0;
    virtual QString Movie() const = 0;

    // Whether the control shows a context menu of its own on a right click.
    virtual bool Menu() const = 0;

    virtual void SetOnFlashCall(FlashCallHandler handler) = 0;

    // Runs the movie function that the invoke text names with its arguments and returns what it
    // returned as text. Raises AppError when no movie is loaded or it has no such function.
    virtual QString CallFunction(const QString &request) = 0;

    // Stops the movie's running animations.
    virtual void StopPlay() = 0;
};

// Makes a control; raises AppError when none can be made.
using FlashControlFactory = std::function<std::unique_ptr<TShockwaveFlash>()>;
