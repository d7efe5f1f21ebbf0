#pragma once

// What the main window offers to the parts of the program that work on its job: the job, its
// planner and run, the configuration, and the few flows that need the window.

class QWidget;
class QString;
class TFileInfo;
class TProductConfig;
class TTavloConvert;
class TTavloProj;

class IMainWindowService
{
public:
    virtual TTavloProj& GetProject() = 0;
    virtual bool AddDocument(const QString& path) = 0;
    virtual void StartRun(TTavloProj& project) = 0;
    virtual bool ConfirmCancel() = 0;
    virtual TTavloConvert& GetPlanner() = 0;
    virtual TProductConfig& GetProductConfig() = 0;
    virtual QWidget* GetWindow() = 0;
    virtual bool AskPassword(TFileInfo& document) = 0;

protected:
    ~IMainWindowService() = default;
};
