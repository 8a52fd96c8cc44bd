#pragma once
// A replay that runs several pictures at once. Each picture's steps still run
// in order, one after the other, exactly as run_picture_plan runs them; only
// different pictures overlap, and they share no file.
//
// The report is the one run_batch gives: outcomes are added in picture order
// whatever order the pictures finished in. Once the host asks to stop, no
// further picture starts; those that ran are reported.

#include <functional>

#include "macro/batch_replay.h"

// `host` is called from up to `jobs` threads at the same time.
ReplayReport run_batch_in_parallel(const BatchPlan& plan, ReplayHost& host, bool overwrite, int jobs,
                                   const PictureFinished& finished = {});
