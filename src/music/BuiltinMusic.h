#pragma once
// The built-in music: one WAVE loop from the program's resources, played with PlaySound while the
// user's own music is off. Windows only.

// The Custom Music dialog's "On/Off" box, copied by its 200 ms timer. True until that timer first
// runs, so nothing sounds before the dialog has said which music is wanted.
extern bool ownMusicOn;
// The loop has to be (re)started as soon as ownMusicOn is false.
extern int builtinMusicPending;

// Descrambles the music entry (once; the bytes stay for the rest of the run, since the system
// player reads them while it plays), sets the wave device volume from the settings and starts the
// loop from its beginning, from memory: no work file is written. Silent when the entry is missing.
void StartBuiltinMusic();

// Called by the view after every frame: stops the loop while own music is on (and remembers to
// start it again), starts it once own music is off.
void ServiceBuiltinMusic();
