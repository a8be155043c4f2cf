// The editor's scripted session: new documents, typing, switching, a save prompt answered, a close
// refused, close all, recent files, tile and cascade, and settings that outlive the window. Run by
// the test command on the offscreen platform.
#ifndef EDITOR_SESSION_H
#define EDITOR_SESSION_H

#include <QString>

// Runs the session with files and settings in a temporary folder; returns the number of failed steps.
// With \a screenshot, saves a picture of the editor with three documents there.
int RunSession(const QString& screenshot);

#endif // EDITOR_SESSION_H
