/*
 * Drops files on whatever X window lies under a point of the screen, as a
 * file manager would: an XDND source that Wine answers with a real
 * WM_DROPFILES to the window under the point. Native Linux, built by run.sh:
 *
 *   cc -O2 -o xdnd_drop xdnd_drop.c -lX11
 *
 * Usage: xdnd_drop X Y PATH...
 *   X, Y   root-window pixel coordinates of the drop point
 *   PATH   Unix paths, in order (relative ones are taken from the current
 *          folder); any bytes, sent percent-encoded as file:///path
 *
 * Exit codes: 0 the target finished the drop; 1 X trouble (no display, lost
 * target window); 2 bad usage; 3 no XDND-aware window under the point; 4 the
 * target refused the drop; 5 the target did not answer in time. Every wait
 * is bounded: the whole drop takes at most about 8 s.
 */
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <errno.h>
#include <limits.h>
#include <poll.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

enum {
  kExitDone = 0,
  kExitX = 1,
  kExitUsage = 2,
  kExitNoTarget = 3,
  kExitRefused = 4,
  kExitTimeout = 5,
};

/* The XDND version this source speaks; a target may speak an older one. */
#define XDND_VERSION 5

/* Time budgets, in seconds. */
#define TIMESTAMP_WAIT 1.0
#define FIRST_STATUS_WAIT 3.0 /* the target's thread may be busy for a while */
#define REFUSAL_GRACE 1.0     /* keep asking this long after a first refusal */
#define REFUSAL_RETRY 0.1     /* pause before asking again after a refusal */
#define FINISHED_WAIT 3.0

static Display* display;
static Window root;
static Window source;
static Window target;
static long version;
static Time timestamp;
static char* uri_list;
static size_t uri_list_size;

static Atom atom_aware, atom_selection, atom_type_list, atom_enter, atom_position, atom_status, atom_leave,
    atom_drop, atom_finished, atom_copy, atom_uri_list, atom_targets, atom_stamp;

static int x_error_code;

static void fail(int code, const char* format, ...) {
  va_list args;
  va_start(args, format);
  fputs("xdnd_drop: ", stderr);
  vfprintf(stderr, format, args);
  fputc('\n', stderr);
  va_end(args);
  exit(code);
}

/* A target window may vanish in the middle of the drop: remember the error
 * instead of letting Xlib end the program. */
static int on_x_error(Display* d, XErrorEvent* error) {
  (void)d;
  if (x_error_code == 0) x_error_code = error->error_code;
  return 0;
}

static double now_seconds(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return (double)t.tv_sec + (double)t.tv_nsec / 1e9;
}

/* Next event, or 0 once the deadline has passed. */
static int next_event(XEvent* event, double deadline) {
  for (;;) {
    if (XPending(display) > 0) {
      XNextEvent(display, event);
      return 1;
    }
    const double left = deadline - now_seconds();
    if (left <= 0) return 0;
    struct pollfd fd = {ConnectionNumber(display), POLLIN, 0};
    if (poll(&fd, 1, (int)(left * 1000) + 1) < 0 && errno != EINTR) fail(kExitX, "poll: %s", strerror(errno));
  }
}

/* ---- The data: text/uri-list ------------------------------------------ */

static void append(const char* bytes, size_t n) {
  char* grown = realloc(uri_list, uri_list_size + n + 1);
  if (grown == NULL) fail(kExitX, "out of memory");
  uri_list = grown;
  memcpy(uri_list + uri_list_size, bytes, n);
  uri_list_size += n;
  uri_list[uri_list_size] = '\0';
}

/* Appends a path with every byte but the unreserved ASCII ones and the
 * slashes percent-encoded (UTF-8 names go byte by byte). */
static void append_encoded(const char* path) {
  static const char hex[] = "0123456789ABCDEF";
  for (const unsigned char* p = (const unsigned char*)path; *p != '\0'; ++p) {
    const unsigned char c = *p;
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
        c == '_' || c == '~' || c == '/') {
      append((const char*)p, 1);
    } else {
      const char escaped[3] = {'%', hex[c >> 4], hex[c & 15]};
      append(escaped, 3);
    }
  }
}

static void append_uri(const char* path) {
  append("file://", 7);
  if (path[0] != '/') {
    char cwd[PATH_MAX];
    if (getcwd(cwd, sizeof cwd) == NULL) fail(kExitUsage, "cannot resolve the relative path %s", path);
    if (strcmp(cwd, "/") != 0) append_encoded(cwd);
    append("/", 1);
  }
  append_encoded(path);
  append("\r\n", 2);
}

/* ---- Talking to the target -------------------------------------------- */

/* Sends one XDND client message from the source to the target window. */
static void post_to_target(Atom type, long l1, long l2, long l3, long l4) {
  XEvent event;
  memset(&event, 0, sizeof event);
  event.xclient.type = ClientMessage;
  event.xclient.display = display;
  event.xclient.window = target;
  event.xclient.message_type = type;
  event.xclient.format = 32;
  event.xclient.data.l[0] = (long)source;
  event.xclient.data.l[1] = l1;
  event.xclient.data.l[2] = l2;
  event.xclient.data.l[3] = l3;
  event.xclient.data.l[4] = l4;
  XSendEvent(display, target, False, NoEventMask, &event);
  XSync(display, False);
}

static void send_to_target(Atom type, long l1, long l2, long l3, long l4) {
  post_to_target(type, l1, l2, l3, l4);
  if (x_error_code != 0) fail(kExitX, "the target window 0x%lx went away (X error %d)", target, x_error_code);
}

static void send_leave(void) {
  x_error_code = 0;
  post_to_target(atom_leave, 0, 0, 0, 0);
}

/* Serves the data (and the list of what it can be converted to) to whoever
 * asks; the target asks as soon as it gets XdndEnter. Anything else is
 * refused. */
static void answer_selection_request(const XSelectionRequestEvent* request) {
  XEvent reply;
  memset(&reply, 0, sizeof reply);
  reply.xselection.type = SelectionNotify;
  reply.xselection.display = display;
  reply.xselection.requestor = request->requestor;
  reply.xselection.selection = request->selection;
  reply.xselection.target = request->target;
  reply.xselection.time = request->time;
  /* Clients older than ICCCM 2 name no property: use the target. */
  const Atom property = request->property != None ? request->property : request->target;
  reply.xselection.property = None;
  if (request->selection == atom_selection && request->owner == source) {
    if (request->target == atom_uri_list) {
      XChangeProperty(display, request->requestor, property, atom_uri_list, 8, PropModeReplace,
                      (const unsigned char*)uri_list, (int)uri_list_size);
      reply.xselection.property = property;
    } else if (request->target == atom_targets) {
      const Atom targets[] = {atom_targets, atom_uri_list};
      XChangeProperty(display, request->requestor, property, XA_ATOM, 32, PropModeReplace,
                      (const unsigned char*)targets, 2);
      reply.xselection.property = property;
    }
  }
  XSendEvent(display, request->requestor, False, NoEventMask, &reply);
  XSync(display, False);
  x_error_code = 0; /* a requestor that went away is its own business */
}

/* ---- Finding the target ----------------------------------------------- */

/* The XDND version a window announces, or 0 if it takes no drops. */
static long aware_version(Window w) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = NULL;
  long result = 0;
  if (XGetWindowProperty(display, w, atom_aware, 0, 1, False, AnyPropertyType, &type, &format, &count, &after,
                         &data) == Success &&
      type == XA_ATOM && format == 32 && count == 1) {
    result = ((long*)data)[0];
  }
  if (data != NULL) XFree(data);
  return result;
}

/* Walks down from the root along the windows that contain the point; the
 * first one that announces XdndAware is the target. */
static Window find_target(int x, int y) {
  Window w = root;
  for (int depth = 0; depth < 64; ++depth) {
    if (w != root) {
      const long v = aware_version(w);
      if (v > 0) {
        version = v < XDND_VERSION ? v : XDND_VERSION;
        return w;
      }
    }
    int wx = 0, wy = 0;
    Window child = None;
    if (!XTranslateCoordinates(display, root, w, x, y, &wx, &wy, &child) || child == None) return None;
    w = child;
  }
  return None;
}

/* ---- The drop ---------------------------------------------------------- */

/* A server time stamp for the selection and the XDND messages: a property
 * change on our own window reports one. */
static Time server_time(void) {
  XSelectInput(display, source, PropertyChangeMask);
  XChangeProperty(display, source, atom_stamp, XA_STRING, 8, PropModeAppend, (const unsigned char*)"", 0);
  const double deadline = now_seconds() + TIMESTAMP_WAIT;
  XEvent event;
  while (next_event(&event, deadline)) {
    if (event.type == PropertyNotify && event.xproperty.window == source && event.xproperty.atom == atom_stamp) {
      return event.xproperty.time;
    }
  }
  fail(kExitTimeout, "no time stamp from the X server");
  return CurrentTime;
}

static int parse_coordinate(const char* text, int* value) {
  char* end = NULL;
  errno = 0;
  const long v = strtol(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || v < -32768 || v > 32767) return 0;
  *value = (int)v;
  return 1;
}

int main(int argc, char** argv) {
  int x = 0, y = 0;
  if (argc < 4 || !parse_coordinate(argv[1], &x) || !parse_coordinate(argv[2], &y)) {
    fprintf(stderr, "usage: xdnd_drop X Y PATH...\n");
    return kExitUsage;
  }
  for (int i = 3; i < argc; ++i) {
    if (argv[i][0] == '\0') fail(kExitUsage, "empty path");
    append_uri(argv[i]);
  }

  display = XOpenDisplay(NULL);
  if (display == NULL) fail(kExitX, "cannot open the display \"%s\"", XDisplayName(NULL));
  XSetErrorHandler(on_x_error);
  root = DefaultRootWindow(display);
  atom_aware = XInternAtom(display, "XdndAware", False);
  atom_selection = XInternAtom(display, "XdndSelection", False);
  atom_type_list = XInternAtom(display, "XdndTypeList", False);
  atom_enter = XInternAtom(display, "XdndEnter", False);
  atom_position = XInternAtom(display, "XdndPosition", False);
  atom_status = XInternAtom(display, "XdndStatus", False);
  atom_leave = XInternAtom(display, "XdndLeave", False);
  atom_drop = XInternAtom(display, "XdndDrop", False);
  atom_finished = XInternAtom(display, "XdndFinished", False);
  atom_copy = XInternAtom(display, "XdndActionCopy", False);
  atom_uri_list = XInternAtom(display, "text/uri-list", False);
  atom_targets = XInternAtom(display, "TARGETS", False);
  atom_stamp = XInternAtom(display, "_TOVAN_XDND_STAMP", False);

  source = XCreateSimpleWindow(display, root, -10, -10, 1, 1, 0, 0, 0);
  timestamp = server_time();
  /* Some targets read the offered types from the source window. */
  XChangeProperty(display, source, atom_type_list, XA_ATOM, 32, PropModeReplace,
                  (const unsigned char*)&atom_uri_list, 1);

  XSetSelectionOwner(display, atom_selection, source, timestamp);
  if (XGetSelectionOwner(display, atom_selection) != source) fail(kExitX, "could not own XdndSelection");

  target = find_target(x, y);
  if (target == None) fail(kExitNoTarget, "no window that takes drops (XdndAware) at %d,%d", x, y);

  const long position = ((long)x << 16) | (y & 0xFFFF);
  send_to_target(atom_enter, version << 24, (long)atom_uri_list, None, None);
  send_to_target(atom_position, 0, position, (long)timestamp, (long)atom_copy);

  /* Until the target accepts: answer its data requests, and after a refusal
   * ask again for a short while (the window may just be getting ready). */
  double deadline = now_seconds() + FIRST_STATUS_WAIT;
  double retry_at = 0;
  int refused = 0, accepted = 0;
  XEvent event;
  while (!accepted) {
    const double wake = retry_at > 0 && retry_at < deadline ? retry_at : deadline;
    if (!next_event(&event, wake)) {
      if (retry_at > 0 && now_seconds() < deadline) {
        retry_at = 0;
        send_to_target(atom_position, 0, position, (long)timestamp, (long)atom_copy);
        continue;
      }
      send_leave();
      if (refused) fail(kExitRefused, "the window 0x%lx at %d,%d does not accept the files", target, x, y);
      fail(kExitTimeout, "the window 0x%lx at %d,%d did not answer the drag", target, x, y);
    }
    if (event.type == SelectionRequest) {
      answer_selection_request(&event.xselectionrequest);
    } else if (event.type == ClientMessage && event.xclient.message_type == atom_status &&
               (Window)event.xclient.data.l[0] == target) {
      if (event.xclient.data.l[1] & 1) {
        accepted = 1;
      } else {
        if (!refused) deadline = now_seconds() + REFUSAL_GRACE;
        refused = 1;
        retry_at = now_seconds() + REFUSAL_RETRY;
      }
    }
  }

  send_to_target(atom_drop, 0, (long)timestamp, 0, 0);
  deadline = now_seconds() + FINISHED_WAIT;
  while (next_event(&event, deadline)) {
    if (event.type == SelectionRequest) {
      answer_selection_request(&event.xselectionrequest);
    } else if (event.type == ClientMessage && event.xclient.message_type == atom_finished &&
               (Window)event.xclient.data.l[0] == target) {
      /* Before version 5 XdndFinished says nothing about success. */
      if (version >= 5 && !(event.xclient.data.l[1] & 1)) {
        fail(kExitRefused, "the window 0x%lx took the drop but reports it failed", target);
      }
      XCloseDisplay(display);
      free(uri_list);
      return kExitDone;
    }
  }
  fail(kExitTimeout, "the window 0x%lx did not finish the drop within %.0f s", target, FINISHED_WAIT);
  return kExitTimeout;
}
