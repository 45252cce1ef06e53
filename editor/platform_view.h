#pragma once
// Where the plug-in gets its editor view: each platform's seam file makes the
// view of its own window. A platform whose window does not exist yet makes
// none, and the plug-in then has no editor (the host offers no panel).

#include <memory>

class IEditorView;
class IPlugBase;

// Makes an editor view of width x height for the plug-in; module is the
// library's own module handle (for windows and resources). Null: no editor.
using EditorViewFactory = std::unique_ptr<IEditorView> (*)(IPlugBase* plug, int width, int height,
                                                           int frameRate, void* module);

// This platform's editor view; null while the platform has no editor window.
std::unique_ptr<IEditorView> MakePlatformView(IPlugBase* plug, int width, int height, int frameRate,
                                              void* module);
