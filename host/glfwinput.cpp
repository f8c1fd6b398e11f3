// The host's side of input: key translation and game-pad polling.
#include <GLFW/glfw3.h>

#include "host/glfwgame.h"

namespace {

// GLFW keys 32..345 that are neither digits nor letters; unlisted keys are 0.
struct KeyPair {
    short glfw, code;
};
const KeyPair kKeyPairs[] = {
    {32, 32},   {34, 222},  {39, 222},  {44, 188},  {45, 189},  {46, 190},  {47, 191},  {59, 186},
    {61, 187},  {91, 219},  {92, 220},  {93, 221},  {96, 192},  {126, 192}, {256, 27},  {257, 13},
    {258, 9},   {259, 8},   {260, 45},  {261, 46},  {262, 39},  {263, 37},  {264, 40},  {265, 38},
    {266, 33},  {267, 34},  {268, 36},  {269, 35},  {290, 112}, {291, 113}, {292, 114}, {293, 115},
    {294, 116}, {295, 117}, {296, 118}, {297, 119}, {298, 120}, {299, 121}, {300, 122}, {301, 123},
    {320, 96},  {321, 97},  {322, 98},  {323, 99},  {324, 100}, {325, 101}, {326, 102}, {327, 103},
    {328, 104}, {329, 105}, {330, 110}, {331, 111}, {332, 106}, {333, 109}, {334, 107}, {340, 16},
    {341, 17},  {344, 16},  {345, 17},
};

struct KeyTable {
    short codes[314];  // GLFW keys 32..345
    KeyTable() : codes() {
        for (const KeyPair& p : kKeyPairs) codes[p.glfw - 32] = p.code;
    }
};
const KeyTable kKeyTable;

}  // namespace

int XrGlfwGame::TransKey(int key) {
    if ((key >= 48 && key <= 57) || (key >= 65 && key <= 90)) return key;
    if (key >= 32 && key <= 345) return kKeyTable.codes[key - 32];
    return 0;
}

int XrGlfwGame::KeyToChar(int key) {
    switch (key) {
    case 8: case 9: case 13: case 27:
        return key;
    case 33: case 34: case 35: case 36: case 37: case 38: case 39: case 40: case 45:
        return 65536 + key;
    case 46:
        return 127;
    }
    return 0;
}
