#pragma once

#include <QStringList>

// The program from start to end: module initialisation, the entry sequence and finalisation.
// Returns the process exit code.
int RunTavlo(const QStringList& arguments);
