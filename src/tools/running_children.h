#pragma once
// The picture programs running now, so that a run told to end (Ctrl-C, a
// scheduler's SIGTERM, a closed terminal's SIGHUP) can stop them at once
// instead of leaving them to write into files nobody will use.
//
// Every child runs in a process group of its own, so that stopping it stops
// the whole pipeline its shell started. A child is listed from before it can
// be signalled until after it has ended and before it is reaped, so that a
// stop never reaches a group whose number has been given to someone else.

#include <sys/types.h>

// Sends `signal` to every listed child's process group and refuses every
// child from then on. Safe to call from a signal handler.
void stop_running_children(int signal);

// True once stop_running_children has been called: no child starts any more.
bool children_stopped();

// For the process runner: lists and unlists a child by its process group.
// Listing returns false when a stop came first (the child has then been
// sent the stop's signal).
bool list_running_child(pid_t group);
void unlist_running_child(pid_t group);
