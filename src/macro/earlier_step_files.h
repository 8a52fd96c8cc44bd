#pragma once
// What a replay with leave to replace (--overwrite, or Yes to the window's
// question) may touch beyond its own step files, and what it must never
// touch.
//
// An earlier replay of a longer sequence leaves "k-NAME" files numbered
// beyond this one's steps; kept, they would sit beside the new results as if
// they belonged to them. A step file whose name is an input picture's, or
// differs from one only in case (the same file on a case-insensitive folder:
// a USB disk, a Windows share), is an input of this run and is never
// replaced.

#include <string>
#include <vector>

#include "macro/batch_replay.h"

// The step files of each picture of `plan` that will run (not refused)
// numbered beyond its steps, found in the plan's folder (symbolic links
// included, folders not).
std::vector<std::string> leftover_step_files(const BatchPlan& plan);

// Marks every picture of `plan` whose step files would replace one of
// `inputs` (names in the folder) as refused, saying which.
void refuse_steps_onto_inputs(BatchPlan& plan, const std::vector<std::string>& inputs);
