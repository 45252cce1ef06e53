#pragma once
// An editor view without a display, for the tests, the benchmarks and the
// snapshot tool: it paints into its canvas like any window half, "opens" a
// window that exists only as a flag, and records what a real window would have
// shown the user (pop-up prompts, web pages).

#include "editor/editor_view.h"

#include <string>

class HeadlessEditorView : public IEditorView {
public:
    // module: where the PNG resources are looked up (null: this program's own).
    HeadlessEditorView(IPlugBase* plug, int width, int height, int frameRate, void* module = nullptr);
    ~HeadlessEditorView() override;

    bool presentArea(const IArea& area) override;
    void promptParameterValue(IControl* control, IParameter* param) override;
    bool openWebPage(const char* address, const char* caption, const char* question = nullptr,
                     const char* failure = nullptr) override;
    bool wheelFromHost(float delta) override;
    void* openWindow(void* parent) override;
    void closeWindow() override;
    void* windowHandle() const override;
    std::unique_ptr<RasterBitmap> loadResourceImage(int resourceId) override;

    // What the view did, for tests.
    int presentCount = 0;
    IArea lastPresented;
    IControl* promptedControl = nullptr;
    IParameter* promptedParam = nullptr;
    std::string openedPage;
    bool webPagesOpen = false; // what openWebPage answers

private:
    void* module;
    bool windowOpen = false;
};

// The editor-view factory of the tests and the snapshot tool.
std::unique_ptr<IEditorView> MakeHeadlessView(IPlugBase* plug, int width, int height, int frameRate,
                                              void* module);
