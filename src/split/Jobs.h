#pragma once

// How many outputs of a run the engine makes at once.

// Documents shorter than this are split by one job: starting workers, each reading the whole
// input, costs more than it saves.
inline constexpr int kPagesForParallelJobs = 40;
inline constexpr int kMostAutomaticJobs = 8;

// The processors this process may run on (its affinity), at least 1.
int UsableProcessors();

// requested > 0: that many (at most the engine's limit); 0: automatic, one per usable
// processor up to kMostAutomaticJobs, and 1 for a document of fewer than
// kPagesForParallelJobs pages.
int JobsForRun(int requested, int pageCount);
