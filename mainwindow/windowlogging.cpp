#include "mainwindow/windowlogging.h"

// Debug lines are for a developer chasing a fault; an operator's terminal stays quiet.
Q_LOGGING_CATEGORY(lcWindow, "brisklane.window", QtInfoMsg)
Q_LOGGING_CATEGORY(lcExchange, "brisklane.exchange", QtInfoMsg)
