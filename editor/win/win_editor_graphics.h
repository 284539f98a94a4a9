// The editor's Windows window: a child of the host's window sized from the editor's dpi,
// the 41 ms tick that repaints dirty controls, the present of the draw bitmap, mouse, wheel
// and key messages turned into control events in layout units, the controls' tooltips, and
// the platform services (the value prompt, file dialogs, folders, web address).
#pragma once

#include <windows.h>

#include <string>

#include "editor/editor_graphics.h"

namespace corvalen::editor {

class WinEditorGraphics final : public EditorGraphics {
public:
    // Host thread, while the instance is constructed: looks the system's per-window dpi
    // query up once.
    WinEditorGraphics();
    // Closes the window if it is open, frees the system library and releases COM when this
    // editor initialised it.
    ~WinEditorGraphics() override;

    // --- The window -----------------------------------------------------------------------
    void* openWindow(void* parent) override;
    void closeWindow() override;
    bool windowIsOpen() const override { return window_ != nullptr; }
    HWND editorWindow() const { return window_; }
    int dpiInUse() const { return dpi_; }

    // --- Input the host forwards ----------------------------------------------------------
    bool hostWheel(float delta) override;
    bool hostKey(bool down, int modifiers, int virtualKey) override;
    void setKeyCatcher(int index) override;

    // --- Platform services ----------------------------------------------------------------
    bool openTextEntry(EditorControl& control, int parameterIndex, const LayoutRect* rect,
                       int flags, const TextStyle* style, std::uint32_t background,
                       int commitDelayMs, int clickX, int clickY) override;
    bool promptForFile(std::string& path, int mode, const char* initialFolder,
                       const char* extensions) override;
    bool hostFolder(std::string& folder) override;
    bool pluginFolder(std::string& folder) override;
    bool applicationDataFolder(std::string& folder) override;
    bool openWebAddress(const char* address, const char* caption, const char* question,
                        const char* errorText) override;

    // The fixed class name of every editor window of the module.
    static const wchar_t* windowClassName();
    // Editor windows of this module that are open now (the class is registered while > 0).
    static int openWindowCount();

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    static LRESULT CALLBACK textEntryProcedure(HWND box, UINT message, WPARAM wParam,
                                               LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Drawing.
    SIZE clientArea() const;
    void paintUpdate();
    void present(const LayoutRect& update);
    void tick();

    // Mouse and keys (window pixel positions).
    int toLayout(int pixel) const;
    void onMouseMove(WPARAM keyState, int x, int y);
    void onButtonDown(WPARAM keyState, int x, int y);
    void onButtonUp(WPARAM keyState, int x, int y);
    void onDoubleClick(WPARAM keyState, int x, int y);
    void onWheel(WPARAM wParam, int screenX, int screenY);
    bool wheelAtScreenPoint(int screenX, int screenY, int modifiers, float delta);
    void onKey(UINT message, WPARAM wParam, LPARAM lParam);
    static int mouseModifiers(WPARAM keyState);
    static int keyboardModifiers();

    // Tooltips.
    void createTooltip();
    void updateTooltipFor(int controlIndex);
    void setTooltipText(const wchar_t* text);
    void hideTooltip();

    // The value prompt.
    void commitTextEntry(bool close);
    void closeTextEntry();
    void forgetTextEntry();
    LRESULT textEntryMessage(HWND box, UINT message, WPARAM wParam, LPARAM lParam);

    HINSTANCE module_ = nullptr;
    HWND parent_ = nullptr;
    HWND window_ = nullptr;
    // The host destroyed the window without closing the editor: the window class could not be
    // released while that window was still going, so the next close (or the editor's end)
    // releases it, unless another editor window uses it then.
    bool classReleasePending_ = false;
    HWND tooltip_ = nullptr;
    int tooltipControl_ = -1;
    wchar_t tooltipText_[80] = {};
    bool hoverRequested_ = false;
    // The union the tick has just repainted: its paint message only presents it.
    LayoutRect tickPainted_;
    int dpi_ = 96;
    HMODULE userLibrary_ = nullptr;
    using DpiForWindow = UINT(WINAPI*)(HWND);
    DpiForWindow dpiForWindow_ = nullptr;
    bool comInitialised_ = false;

    // The value prompt's box and what it edits.
    HWND textBox_ = nullptr;
    WNDPROC textBoxOwnProcedure_ = nullptr;
    EditorControl* promptedControl_ = nullptr;
    int promptedParameter_ = -1;
    HBRUSH textBoxBrush_ = nullptr;
    COLORREF textBoxTextColour_ = 0;
    COLORREF textBoxBackground_ = 0;
    int textBoxCommitDelay_ = 0;
    int savedKeyCatcher_ = -1;
};

}  // namespace corvalen::editor
