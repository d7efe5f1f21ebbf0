#pragma once

#include <QJsonObject>
#include <QString>

class TTavloConvert;

// The plan of a dry run, for scripts:
//   {"input": path, "folder": path, "outputs": [{"name": file name, "pages": [1, 2, ...]}, ...]}
// input and folder absolute, outputs in the order the run writes them, each with the input
// pages it takes, in its own order (counted from 1).
QJsonObject PlanJson(const TTavloConvert& plan, const QString& input);
