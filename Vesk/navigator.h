#ifndef NAVIGATOR_H
#define NAVIGATOR_H

// The one place that builds the working windows and decides what comes next: main window ->
// array window -> calculation plane window -> quality window of either plane, and the way back
// from each, answering the windows' requests (window_requests.h). Each answer sets the shared
// values the next window reads while it is built, builds it and moves on from the asking window
// (window::moveOn: the next window takes its place and the asking one is left). After Qt's wizard:
// the pages never build one another.
namespace navigator {

// Answers the windows' requests from now on (once per process; later calls change nothing).
void install();

} // namespace navigator

#endif // NAVIGATOR_H
