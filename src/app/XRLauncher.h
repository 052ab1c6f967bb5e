#pragma once

#include "XRConfiguration.h"

#include <memory>

class XRAppDelegate;
class XRWindow;
class XRWindowShell;

// Starts the application for a configuration: the window and its shell, the
// application delegate, the tabs, and the launch. Keeps them alive until it is
// destroyed.
class XRLauncher
{
public:
    explicit XRLauncher(const XRConfiguration &configuration);
    ~XRLauncher();

    // Runs the launch: the language is settled, the data files are read and the
    // window shows its first tab.
    void launch();

    XRWindow *window() const { return m_window.get(); }
    XRAppDelegate *delegate() const { return m_delegate.get(); }

private:
    std::unique_ptr<XRWindow> m_window;
    std::unique_ptr<XRWindowShell> m_shell;
    std::unique_ptr<XRAppDelegate> m_delegate;
};
