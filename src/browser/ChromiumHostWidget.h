#pragma once
// The browser host control as a widget: the windows place it in their layout
// and talk to it through IChromiumHost. The engine's control and the tests'
// fake both derive from it.

#include "browser/ChromiumHost.h"

#include <QWidget>

#include <functional>

class ChromiumHostWidget : public QWidget, public IChromiumHost {
public:
    explicit ChromiumHostWidget(QWidget* parent) : QWidget(parent) {}
};

// Creates the host control for a window, owned by (and a child of) `parent`.
using ChromiumHostFactory = std::function<ChromiumHostWidget*(QWidget* parent)>;
