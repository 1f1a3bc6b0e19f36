// Screen capture of the root window: XShm when the server offers it, plain XGetImage otherwise.
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <turbojpeg.h>

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
    drop_shm();
}

void ScreenCapture::drop_shm() {
    if (!shm_image_) return;
    XShmDetach(dpy_, &shm_);
    XSync(dpy_, False);
    shmdt(shm_.shmaddr);
    shm_image_->data = nullptr;
    XDestroyImage(shm_image_);
    shm_image_ = nullptr;
}

// The shared segment is kept between captures: the server's first read of a fresh segment
// costs as much as a plain XGetImage, later ones a fraction of a millisecond.
bool ScreenCapture::ensure_shm(const XWindowAttributes& attr) {
    if (shm_image_ && shm_image_->width == attr.width && shm_image_->height == attr.height)
        return true;
    drop_shm();
    if (shm_unusable_ || !XShmQueryExtension(dpy_)) return false;
    XImage* img = XShmCreateImage(dpy_, attr.visual, attr.depth, ZPixmap, nullptr, &shm_,
                                  attr.width, attr.height);
    if (!img) return false;
    shm_.shmid = shmget(IPC_PRIVATE, static_cast<size_t>(img->bytes_per_line) * img->height,
                        IPC_CREAT | 0600);
    bool attached = false;
    if (shm_.shmid >= 0) {
        shm_.shmaddr = static_cast<char*>(shmat(shm_.shmid, nullptr, 0));
        shm_.readOnly = False;
        if (shm_.shmaddr != reinterpret_cast<char*>(-1)) {
            img->data = shm_.shmaddr;
            attached = XShmAttach(dpy_, &shm_);
            XSync(dpy_, False);  // a remote server refuses the attach here
            if (!attached) shmdt(shm_.shmaddr);
        }
        // Marked for removal at once: it goes away with the last detach, even after SIGKILL.
        shmctl(shm_.shmid, IPC_RMID, nullptr);
    }
    if (!attached) {
        img->data = nullptr;
        XDestroyImage(img);
        shm_unusable_ = true;
        log_failure("screen capture", "no shared memory with the X server; copying instead");
        return false;
    }
    shm_image_ = img;
    return true;
}

Bitmap ScreenCapture::grab() {
    Bitmap out;
    const int screen = DefaultScreen(dpy_);
    const Window root = RootWindow(dpy_, screen);
    XWindowAttributes attr;
    if (!XGetWindowAttributes(dpy_, root, &attr)) return out;
    out.left = out.top = 0;
    out.right = out.width = attr.width;
    out.bottom = out.height = attr.height;
    auto old = XSetErrorHandler(ignore_errors);
    bool done = false;
    if (ensure_shm(attr)) {
        done = XShmGetImage(dpy_, root, shm_image_, 0, 0, AllPlanes);
        if (done) {
            copy_pixels(shm_image_, out);
        } else {
            drop_shm();
            shm_unusable_ = true;  // e.g. a server on another machine: plain copies from now on
            log_failure("screen capture", "XShmGetImage failed; copying instead");
        }
    }
    if (!done) {
        if (XImage* img =
                XGetImage(dpy_, root, 0, 0, attr.width, attr.height, AllPlanes, ZPixmap)) {
            copy_pixels(img, out);
            XDestroyImage(img);
        } else {
            log_failure("screen capture", "XGetImage failed; the picture stays black");
            out.bgr.assign(static_cast<size_t>(out.width) * out.height * 3, 0);
        }
    }
    XSync(dpy_, False);
    XSetErrorHandler(old);
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
