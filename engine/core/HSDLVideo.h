#ifndef HSDLVIDEO_H
#define HSDLVIDEO_H

// SDL's video start-up, shared by the display device and the message box.
// With no driver named in SDL_VIDEODRIVER only the X11 driver is tried: SDL's
// own search would go on to its text-mode drivers, which take over the
// terminal, wait on it, or end the process when it cannot be used. A driver
// the user names is used as asked.
// bParachute: SDL_Init with SDL's crash handlers, as the display device
// starts it; otherwise SDL_InitSubSystem. Returns SDL's result: 0 on success,
// -1 with SDL's error text set.
int     startSDLVideo(bool bParachute);

// True while startSDLVideo runs. A driver that ends the process during its
// start-up leaves it set, so that boxes raised by the exit handlers keep off
// SDL.
bool    isSDLVideoStarting();

#endif // HSDLVIDEO_H
