#pragma once

#include <QStringView>

// Whole-string comparison that folds only the letters A-Z. Paths and the all-pages word are
// compared this way, so that "All" and "all" match while no other character changes meaning.
bool SameText(QStringView a, QStringView b);
