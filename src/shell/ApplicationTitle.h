#pragma once

#include <QString>

// The application title: caption of every message box and the title by which a second
// instance recognises the first. Set once the configuration knows the product title.
void SetApplicationTitle(const QString& title);
QString ApplicationTitle();
