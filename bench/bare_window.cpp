// The least a program of this kind holds: a GLFW window with an OpenGL
// context, and an open OpenAL device and context, nothing loaded. The pacing
// benchmark subtracts its resident memory from the game's, so that what is
// left is what the game itself keeps.
//
//   bare_window         clears and swaps, nothing more
//   bare_window draw    also draws two blended quads from client arrays each
//                       frame, one with a 1 x 1 texture made in place, as any
//                       2-D program draws. A software GL driver compiles its
//                       drawing code at the first such draw, mapping pages of
//                       its compiler that belong to the driver, not to what a
//                       program keeps.
//
// Prints "first_swap" on standard error once its first frame is swapped (the
// floor under any such program's first visible frame), "ready" once it has
// drawn a second's frames, then goes on drawing until it is killed or has run
// for a minute.
#include <cstring>
#include <cstdio>

#include <AL/al.h>
#include <AL/alc.h>
#include <GLFW/glfw3.h>

int main(int argc, char** argv) {
    const bool draw = argc > 1 && std::strcmp(argv[1], "draw") == 0;
    if (!glfwInit()) {
        std::fprintf(stderr, "bare_window: glfwInit failed\n");
        return 1;
    }
    glfwWindowHint(GLFW_ALPHA_BITS, 0);
    glfwWindowHint(GLFW_DEPTH_BITS, 0);
    glfwWindowHint(GLFW_STENCIL_BITS, 0);
    GLFWwindow* window = glfwCreateWindow(640, 480, "bare window", nullptr, nullptr);
    if (!window) {
        std::fprintf(stderr, "bare_window: no window\n");
        return 1;
    }
    glfwMakeContextCurrent(window);
    ALCdevice* device = alcOpenDevice(nullptr);
    ALCcontext* context = device ? alcCreateContext(device, nullptr) : nullptr;
    if (!context || !alcMakeContextCurrent(context)) {
        std::fprintf(stderr, "bare_window: no sound device\n");
        return 1;
    }
    const unsigned char white[4] = {255, 255, 255, 255};
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
    const float corners[8] = {-0.5f, -0.5f, 0.5f, -0.5f, 0.5f, 0.5f, -0.5f, 0.5f};
    const float uv[8] = {0, 0, 1, 0, 1, 1, 0, 1};
    const unsigned char colours[16] = {255, 0, 0, 128, 0, 255, 0, 128, 0, 0, 255, 128, 255, 255, 255, 128};
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, corners);
    glTexCoordPointer(2, GL_FLOAT, 0, uv);
    glColorPointer(4, GL_UNSIGNED_BYTE, 0, colours);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    for (int frame = 0; frame < 3600 && !glfwWindowShouldClose(window); ++frame) {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        if (draw) {
            glDisable(GL_TEXTURE_2D);
            glDrawArrays(GL_TRIANGLE_FAN, 0, 4);
            glEnable(GL_TEXTURE_2D);
            glDrawArrays(GL_TRIANGLE_FAN, 0, 4);
        }
        glfwSwapBuffers(window);
        glfwPollEvents();
        if (frame == 0) {
            std::fprintf(stderr, "first_swap\n");
            std::fflush(stderr);
        }
        if (frame == 60) {
            std::fprintf(stderr, "ready\n");
            std::fflush(stderr);
        }
        glfwWaitEventsTimeout(1.0 / 60);
    }
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(context);
    alcCloseDevice(device);
    glfwTerminate();
    return 0;
}
