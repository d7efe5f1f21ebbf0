#pragma once

#include "model/TavloProj.h"
#include "split/TavloConvert.h"
#include "ui/WindowRegistry.h"

// The language resource generator creates every window on its own; a dialog that edits a job
// then gets an empty job and planner of its own, which live as long as the dialog.
struct TSampleJob
{
    TTavloProj SampleProject;
    TTavloConvert SamplePlanner{SampleProject};
};

template <typename TDialog>
class TDialogOnSampleJob : private TSampleJob, public TDialog
{
public:
    TDialogOnSampleJob() : TDialog(SampleProject, SamplePlanner) {}
};

// Registers a dialog whose constructor takes (project, planner), in the dialog's own .cpp file.
#define TAVLO_REGISTER_JOB_DIALOG(Class)                                                           \
    namespace {                                                                                    \
    const TWindowRegistrar<Class> Class##Registrar(                                                \
        [] { return std::unique_ptr<QWidget>(std::make_unique<TDialogOnSampleJob<Class>>()); });   \
    }
