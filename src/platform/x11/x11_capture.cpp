// Screen capture of the root window: XShm when the server offers it, plain XGetImage otherwise.
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <turbojpeg.h>

#include <algorithm>

#include "platform/log.hpp"
#include "platform/x11/x11_devices.hpp"

namespace mavorin::x11 {

namespace {

// XGetImage's error on a failed request would end the process through the default handler.
int ignore_errors(Display*, XErrorEvent*) {
    return 0;
}

void copy_pixels(XImage* img, Bitmap& out) {
    out.bgr.resize(static_cast<size_t>(out.width) * out.height * 3);
    const bool fast = img->bits_per_pixel == 32 && img->red_mask == 0xFF0000 &&
                      img->green_mask == 0xFF00 && img->blue_mask == 0xFF &&
                      img->byte_order == LSBFirst;
    for (int y = 0; y < out.height; ++y) {
        uint8_t* d = &out.bgr[static_cast<size_t>(y) * out.width * 3];
        if (fast) {
            const uint8_t* s = reinterpret_cast<const uint8_t*>(img->data) +
                               static_cast<size_t>(y) * img->bytes_per_line;
            for (int x = 0; x < out.width; ++x, s += 4, d += 3) {
                d[0] = s[0];
                d[1] = s[1];
                d[2] = s[2];
            }
        } else {
            for (int x = 0; x < out.width; ++x, d += 3) {
                unsigned long p = XGetPixel(img, x, y);
                auto channel = [p](unsigned long mask) -> uint8_t {
                    if (!mask) return 0;
                    int shift = 0;
                    while (!((mask >> shift) & 1)) ++shift;
                    unsigned long v = (p & mask) >> shift, max = mask >> shift;
                    return static_cast<uint8_t>(v * 255 / max);
                };
                d[0] = channel(img->blue_mask);
                d[1] = channel(img->green_mask);
                d[2] = channel(img->red_mask);
            }
        }
    }
}

}  // namespace

ScreenCapture::~ScreenCapture() {
    drop_shm(full_);
    drop_shm(region_);
}

void ScreenCapture::drop_shm(Shm& shm) {
    if (!shm.image) return;
    XShmDetach(dpy_, &shm.info);
    XSync(dpy_, False);
    shmdt(shm.info.shmaddr);
    shm.image->data = nullptr;
    XDestroyImage(shm.image);
    shm.image = nullptr;
}

// The shared segment is kept between captures: the server's first read of a fresh segment
// costs as much as a plain XGetImage, later ones a fraction of a millisecond.
bool ScreenCapture::ensure_shm(Shm& shm, const XWindowAttributes& attr, int w, int h) {
    if (shm.image && shm.image->width == w && shm.image->height == h) return true;
    drop_shm(shm);
    if (shm_unusable_ || !XShmQueryExtension(dpy_)) return false;
    XImage* img = XShmCreateImage(dpy_, attr.visual, attr.depth, ZPixmap, nullptr, &shm.info, w, h);
    if (!img) return false;
    shm.info.shmid = shmget(IPC_PRIVATE, static_cast<size_t>(img->bytes_per_line) * img->height,
                            IPC_CREAT | 0600);
    bool attached = false;
    if (shm.info.shmid >= 0) {
        shm.info.shmaddr = static_cast<char*>(shmat(shm.info.shmid, nullptr, 0));
        shm.info.readOnly = False;
        if (shm.info.shmaddr != reinterpret_cast<char*>(-1)) {
            img->data = shm.info.shmaddr;
            attached = XShmAttach(dpy_, &shm.info);
            XSync(dpy_, False);  // a remote server refuses the attach here
            if (!attached) shmdt(shm.info.shmaddr);
        }
        // Marked for removal at once: it goes away with the last detach, even after SIGKILL.
        shmctl(shm.info.shmid, IPC_RMID, nullptr);
    }
    if (!attached) {
        img->data = nullptr;
        XDestroyImage(img);
        shm_unusable_ = true;
        log_failure("screen capture", "no shared memory with the X server; copying instead");
        return false;
    }
    shm.image = img;
    return true;
}

// Copies the root's w x h block at (x, y), which lies inside the root, into `out`.
void ScreenCapture::copy_block(Shm& shm, const XWindowAttributes& attr, int x, int y, int w, int h,
                               Bitmap& out) {
    const Window root = RootWindow(dpy_, DefaultScreen(dpy_));
    auto old = XSetErrorHandler(ignore_errors);
    bool done = false;
    if (ensure_shm(shm, attr, w, h)) {
        done = XShmGetImage(dpy_, root, shm.image, x, y, AllPlanes);
        if (done) {
            copy_pixels(shm.image, out);
        } else {
            drop_shm(shm);
            shm_unusable_ = true;  // e.g. a server on another machine: plain copies from now on
            log_failure("screen capture", "XShmGetImage failed; copying instead");
        }
    }
    if (!done) {
        if (XImage* img = XGetImage(dpy_, root, x, y, w, h, AllPlanes, ZPixmap)) {
            copy_pixels(img, out);
            XDestroyImage(img);
        } else {
            log_failure("screen capture", "XGetImage failed; the picture stays black");
            out.bgr.assign(static_cast<size_t>(out.width) * out.height * 3, 0);
        }
    }
    // Both requests wait for their reply, so any error of theirs has been handled by now.
    XSetErrorHandler(old);
}

Bitmap ScreenCapture::grab() {
    Bitmap out;
    XWindowAttributes attr;
    if (!XGetWindowAttributes(dpy_, RootWindow(dpy_, DefaultScreen(dpy_)), &attr)) return out;
    out.right = out.width = attr.width;
    out.bottom = out.height = attr.height;
    copy_block(full_, attr, 0, 0, attr.width, attr.height, out);
    return out;
}

Bitmap ScreenCapture::grab_region(int x, int y, int w, int h) {
    Bitmap out;
    w = std::max(w, 0);
    h = std::max(h, 0);
    out.right = out.width = w;
    out.bottom = out.height = h;
    out.bgr.assign(static_cast<size_t>(w) * h * 3, 0);
    // A watch asks many times a second: the screen's size is asked again only now and then.
    const auto now = std::chrono::steady_clock::now();
    if (now - root_asked_ > std::chrono::seconds(1)) {
        if (!XGetWindowAttributes(dpy_, RootWindow(dpy_, DefaultScreen(dpy_)), &root_)) return out;
        root_asked_ = now;
    }
    const XWindowAttributes& attr = root_;
    // Only the part on the screen is asked for; the rest stays black.
    const long long x0 = std::max<long long>(x, 0), y0 = std::max<long long>(y, 0);
    const long long x1 = std::min<long long>(static_cast<long long>(x) + w, attr.width);
    const long long y1 = std::min<long long>(static_cast<long long>(y) + h, attr.height);
    if (x0 >= x1 || y0 >= y1) return out;
    Bitmap inner;
    inner.width = static_cast<int>(x1 - x0);
    inner.height = static_cast<int>(y1 - y0);
    copy_block(region_, attr, static_cast<int>(x0), static_cast<int>(y0), inner.width, inner.height,
               inner);
    const size_t row = static_cast<size_t>(inner.width) * 3;
    for (int r = 0; r < inner.height; ++r)
        std::copy_n(&inner.bgr[r * row], row,
                    &out.bgr[((static_cast<size_t>(y0 - y) + r) * w + (x0 - x)) * 3]);
    return out;
}

int encode_jpeg(const Bitmap& image, int quality, std::string& out) {
    if (image.width <= 0 || image.height <= 0) return 2;  // an invalid parameter
    tjhandle tj = tjInitCompress();
    if (!tj) return 1;
    unsigned char* buf = nullptr;
    unsigned long size = 0;
    int rc = tjCompress2(tj, image.bgr.data(), image.width, image.width * 3, image.height, TJPF_BGR,
                         &buf, &size, TJSAMP_420, quality, TJFLAG_ACCURATEDCT);
    int status = rc == 0 ? 0 : 1;
    if (rc == 0) out.assign(reinterpret_cast<char*>(buf), size);
    if (buf) tjFree(buf);
    tjDestroy(tj);
    return status;
}

}  // namespace mavorin::x11
