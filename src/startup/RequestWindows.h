#pragma once
// What the request handlers need of the windows they open; the GUI provides
// the real ones, tests provide fakes.

#include <memory>
#include <string>
#include <vector>

struct MonitorBounds {
    int left = 0, top = 0, width = 0, height = 0;
};

class IMovableForm {
public:
    virtual ~IMovableForm() = default;
    virtual int Width() const = 0;   // outer size
    virtual int Height() const = 0;
    virtual void SetLeft(int left) = 0;
    virtual void SetTop(int top) = 0;
    // The system's monitor list, in the system's order.
    virtual std::vector<MonitorBounds> Monitors() const = 0;
};

class IRequestWindow : public IMovableForm {
public:
    virtual void SetTitle(const std::u16string& title) = 0;
    virtual void SetOuterSize(int width, int height) = 0;
    // Closes the window; as the main window this ends the application.
    virtual void Close() = 0;
};

class IChatRequestWindow : public IRequestWindow {
public:
    virtual void Iniciar() = 0;
    virtual void Abrir() = 0;
};

class IServiceRequestWindow : public IRequestWindow {
public:
    virtual void Abrir(const std::u16string& url) = 0;
};

class IRequestWindowFactory {
public:
    virtual ~IRequestWindowFactory() = default;
    // The application object, with its own taskbar button for the main window.
    virtual void InitializeApplication() = 0;
    virtual void EnableTooltips() = 0;
    // Each window is created as the application's main window.
    virtual std::unique_ptr<IChatRequestWindow> CreateChatWindow() = 0;
    virtual std::unique_ptr<IServiceRequestWindow> CreateServiceWindow() = 0;
    // Runs until the main window has closed; returns at once when it already has.
    virtual void RunMessageLoop() = 0;
};
