/* Keeps the windows of an X display composited, as a Windows desktop is: every top-level window
 * draws into an off-screen picture of its own and the server puts them together. A window that
 * is hidden then uncovers what lay beneath it at once, instead of leaving its last pixels on the
 * screen until the windows beneath repaint, so a screen copy taken right after a hide sees the
 * desktop as the user does.
 *
 * Build: gcc -O2 -Wall -Wextra -o compositor compositor.c -lX11 -lXcomposite
 * Run:   DISPLAY=:94 ./compositor &   (runs until killed or until the display goes away) */

#include <X11/Xlib.h>
#include <X11/extensions/Xcomposite.h>
#include <stdio.h>
#include <unistd.h>

int main(void) {
  Display* display = XOpenDisplay(NULL);
  if (!display) {
    fprintf(stderr, "compositor: cannot open display\n");
    return 1;
  }
  int eventBase = 0;
  int errorBase = 0;
  int major = 0;
  int minor = 2;
  if (!XCompositeQueryExtension(display, &eventBase, &errorBase) || !XCompositeQueryVersion(display, &major, &minor)) {
    fprintf(stderr, "compositor: the display has no Composite extension\n");
    return 1;
  }
  /* Automatic redirection: the server itself composes the windows onto the root; no client has
   * to paint anything. The redirection ends with this connection, so the program stays. */
  for (int screen = 0; screen < ScreenCount(display); ++screen) {
    XCompositeRedirectSubwindows(display, RootWindow(display, screen), CompositeRedirectAutomatic);
  }
  XSync(display, False);
  printf("compositor: redirected on %s\n", DisplayString(display));
  fflush(stdout);
  /* Wait for the display to go: a read on the connection fails then and ends the program. */
  for (;;) {
    XEvent event;
    XNextEvent(display, &event);
  }
  return 0;
}
