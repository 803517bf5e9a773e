#pragma once
// Timing probes of the instrumented build (NerithScr_instr.exe), read by the end-to-end tests
// and the measurements. In the product they compile to nothing.
struct TickStats;

namespace instrument {
#ifdef NERITH_INSTRUMENT
void ProgramStarted();
// A named moment of start-up, in milliseconds since ProgramStarted.
void Mark(const char* what);
// A line of its own in the log ("note TEXT").
void Note(const char* text);
// Called with the finished frame in the back buffer, before it is shown (width x height of the
// view). On the first frame and every 50th after the 25th (between the timed frames) the back
// buffer is read: the log shows the share of lit pixels and the number of colours ("backbuffer
// LIT_PER_MILLE COLOURS").
void FrameFinished(int width, int height);
// Called after every SwapBuffers. Counts the OpenGL errors raised since the last frame.
void FrameShown();
// Called with the finished frame still in the back buffer: the 50th frame (or the frame
// NERITH_SNAPSHOT_AT says) is kept as a picture, NerithScr-frame.bmp beside the log (the size the
// scene really draws at, and what it drew).
void Snapshot();
// The end of one stage of a frame. On the first frame and every 50th the stages are timed (with a
// glFinish at each, so the drawing is really done); the log shows the first frame's times and the
// averages of the sampled ones.
void Stage(const char* name);
// Counts an event ("count NAME N" in the log).
void Count(const char* name);
// The view stops (true) or resumes (false) rendering because nobody can see it. The log shows
// "hidden 0|1", the number of such spells and the frames shown during them ("frames_hidden N",
// which must stay 0).
void Hidden(bool hidden);
// Adds the time since the last SpanStart to the total of NAME ("span NAME MS" in the log).
void SpanStart();
void SpanEnd(const char* name);
// The frame clock's figures so far ("tick period_ms MEAN min MIN max MAX ticks N frames N timer NAME").
void Ticks(const TickStats& stats);
#else
inline void ProgramStarted() {}
inline void Mark(const char*) {}
inline void Note(const char*) {}
inline void FrameFinished(int, int) {}
inline void FrameShown() {}
inline void Snapshot() {}
inline void Stage(const char*) {}
inline void Count(const char*) {}
inline void Hidden(bool) {}
inline void SpanStart() {}
inline void SpanEnd(const char*) {}
inline void Ticks(const TickStats&) {}
#endif
}  // namespace instrument
