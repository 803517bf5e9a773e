#include "backgrounds/PictureTextures.h"

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "GL.h"
#include "assets/SoilLoader.h"
#include "backgrounds/PictureCycle.h"

namespace backgrounds {

// On Windows the worker runs below the normal priority (PictureTextures_win.cpp).
void LowerWorkerPriority();
#ifndef _WIN32
void LowerWorkerPriority() {}
#endif

namespace {

int screenWidth = 0, screenHeight = 0;

// One picture for the worker: its file in, its texture levels out, ready for the upload.
struct Job {
    unsigned texture = 0;
    std::string path;
    nerith::PictureLimits limits;
    nerith::SoilGlAbilities gl;
    nerith::SoilTexture prepared;
    bool decoded = false;
    bool dropped = false;  // released before it was finished (touched by the GL thread only)
};

// The worker's queue. The worker thread holds it too and is never joined: it waits for work for
// the rest of the run and ends with the process, so nothing it uses may go away before.
struct Queue {
    std::mutex mutex;
    std::condition_variable work, done;
    std::deque<std::shared_ptr<Job>> waiting;
    std::vector<std::shared_ptr<Job>> finished;
    bool busy = false;
};

std::shared_ptr<Queue> queue;
std::map<unsigned, std::shared_ptr<Job>> pending;  // texture -> its unfinished job (GL thread)

void Work(std::shared_ptr<Queue> q) {
    LowerWorkerPriority();
    std::unique_lock<std::mutex> lock(q->mutex);
    for (;;) {
        q->work.wait(lock, [&] { return !q->waiting.empty(); });
        const std::shared_ptr<Job> job = q->waiting.front();
        q->waiting.pop_front();
        q->busy = true;
        lock.unlock();
        // The file is read again here: queued pictures hold no file in memory, and one that has
        // changed meanwhile is checked again all the same.
        nerith::SoilImage image;
        {
            std::vector<std::uint8_t> bytes;
            job->decoded = nerith::ReadPictureFile(job->path.c_str(), job->limits, bytes) &&
                           nerith::DecodeCheckedPicture(bytes.data(), bytes.size(), job->limits, image);
        }
        if (job->decoded) job->prepared = nerith::PrepareSoilTexture(image, PictureFlags, job->gl);
        lock.lock();
        q->busy = false;
        q->finished.push_back(job);
        q->done.notify_all();
    }
}

void Enqueue(const std::shared_ptr<Job>& job) {
    if (!queue) {
        queue = std::make_shared<Queue>();
        std::thread(Work, queue).detach();
    }
    {
        std::lock_guard<std::mutex> lock(queue->mutex);
        queue->waiting.push_back(job);
    }
    queue->work.notify_one();
}

}  // namespace

void SetPictureScreen(int width, int height) {
    screenWidth = width;
    screenHeight = height;
}

unsigned LoadPicture(const char* path) {
    nerith::PictureLimits limits = nerith::WithContextLimits({});
    limits.coverWidth = screenWidth;
    limits.coverHeight = screenHeight;
    {
        std::vector<std::uint8_t> bytes;
        if (!nerith::ReadPictureFile(path, limits, bytes) || !nerith::CheckPicture(bytes.data(), bytes.size(), limits))
            return 0;
    }
    // A texture without a picture yet, which FinishPictures fills.
    GLuint texture = 0;
    glGenTextures(1, &texture);
    if (texture == 0) return 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    auto job = std::make_shared<Job>();
    job->texture = texture;
    job->path = path;
    job->limits = limits;
    job->gl = nerith::QuerySoilGl();
    pending[texture] = job;
    Enqueue(job);
    return texture;
}

bool PictureReady(unsigned texture) { return pending.find(texture) == pending.end(); }

std::vector<unsigned> FinishPictures() {
    std::vector<unsigned> failed;
    if (!queue) return failed;
    std::vector<std::shared_ptr<Job>> finished;
    {
        std::lock_guard<std::mutex> lock(queue->mutex);
        finished.swap(queue->finished);
    }
    for (const auto& job : finished) {
        if (job->dropped) continue;  // its texture is gone, its name perhaps given out again
        pending.erase(job->texture);
        if (job->decoded && nerith::UploadSoilTexture(job->prepared, job->texture, PictureFlags) != 0) continue;
        const GLuint texture = job->texture;
        glDeleteTextures(1, &texture);
        failed.push_back(job->texture);
    }
    return failed;
}

std::vector<unsigned> WaitForPictures() {
    if (queue) {
        std::unique_lock<std::mutex> lock(queue->mutex);
        queue->done.wait(lock, [] { return queue->waiting.empty() && !queue->busy; });
    }
    return FinishPictures();
}

void ReleasePicture(unsigned texture) {
    if (texture == 0 || texture == NoPicture) return;
    const auto found = pending.find(texture);
    if (found != pending.end()) {
        found->second->dropped = true;
        std::lock_guard<std::mutex> lock(queue->mutex);
        auto& waiting = queue->waiting;
        waiting.erase(std::remove(waiting.begin(), waiting.end(), found->second), waiting.end());
        pending.erase(found);
    }
    const GLuint name = texture;
    glDeleteTextures(1, &name);
}

}  // namespace backgrounds
