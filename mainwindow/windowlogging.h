#pragma once

#include <QLoggingCategory>

// The main window's diagnostics, off unless QT_LOGGING_RULES asks for them
// ("brisklane.window.debug=true"): the tabs and the items they are given.
Q_DECLARE_LOGGING_CATEGORY(lcWindow)
// Exports and imports of OSD files ("brisklane.exchange.debug=true").
Q_DECLARE_LOGGING_CATEGORY(lcExchange)
