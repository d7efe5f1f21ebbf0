#pragma once

#include <QString>

// The customer-service client. This build reports nothing: it accepts the calls that the
// start-up and shutdown make and does nothing else.
class TCBSProductClient
{
public:
    void SetProductID(int productID) { FProductID = productID; }
    void SetFileVersion(const QString& fileVersion) { FFileVersion = fileVersion; }
    void SetDataCollectID(const QString& id) { FDataCollectID = id; }
    void EnableUserExperience(bool enable) { FUserExperience = enable; }
    void Start() { FStarted = true; }
    void ReportFirstStart() {}
    void ReportProductClose() { FStarted = false; }

    bool Started() const { return FStarted; }

private:
    int FProductID = 0;
    QString FFileVersion;
    QString FDataCollectID;
    bool FUserExperience = false;
    bool FStarted = false;
};
