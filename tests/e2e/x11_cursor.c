/* Prints the X pointer's cursor as the X server shows it now, for the
 * end-to-end tests: "WIDTH HEIGHT HOTX HOTY ARGB", the last the colour of
 * the pixel under the hot spot, in hexadecimal. */
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <stdio.h>

int main(void)
{
    Display *display = XOpenDisplay(NULL);
    if (!display)
        return 1;
    XFixesCursorImage *cursor = XFixesGetCursorImage(display);
    if (!cursor || cursor->xhot >= cursor->width || cursor->yhot >= cursor->height)
        return 2;
    const unsigned long hot = cursor->pixels[cursor->yhot * cursor->width + cursor->xhot];
    printf("%d %d %d %d %08lx\n", cursor->width, cursor->height, cursor->xhot, cursor->yhot, hot & 0xffffffffUL);
    return 0;
}
