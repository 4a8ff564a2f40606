#pragma once

class QWidget;

namespace mx {

struct App;

// The print preview of the programming information of the open document, in
// the current language: print it, or save it as a PDF. Modal over parent.
void showPrintPreview(App& app, QWidget* parent);

} // namespace mx
