// The screens at the shapes a window or a web page may give the game, from
// the tallest the page allows (3:4) to the widest (16:9): what a player
// reads or presses is on the screen and clear of the rest.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "shell/draw.h"
#include "tests/harness/draw_list.h"
#include "tests/harness/game_driver.h"

namespace {

struct Shape {
    int width, height;
};
const Shape kShapes[] = {{450, 600}, {600, 600}, {640, 480}, {854, 480}};

struct Item {
    std::string what;
    Box box;
    bool whole;  // must be whole on the screen: texts and buttons
};

// The items of the screen now drawn: the texts named, and the images given.
std::vector<Item> Items(const std::vector<std::string>& texts, const std::vector<std::pair<int, int>>& images) {
    std::vector<Item> items;
    for (const std::string& text : texts) {
        const std::optional<Label> label = Find(text);
        EXPECT_TRUE(label) << "\"" << text << "\" is drawn";
        if (label) items.push_back({text, LabelBox(*label), true});
    }
    for (auto [image, frame] : images) {
        const std::optional<Box> box = ImageBox(image, frame);
        EXPECT_TRUE(box) << "image " << image << " frame " << frame << " is drawn";
        if (!box) continue;
        // A frame keeps a thin transparent margin round its picture. The
        // title, the emblem and the top-five panel may run off the edges
        // (the panel slides in from one), as in the desktop's window.
        const float mx = (box->x1 - box->x0) / 32, my = (box->y1 - box->y0) / 32;
        items.push_back({"image " + std::to_string(image) + "/" + std::to_string(frame),
                         {box->x0 + mx, box->y0 + my, box->x1 - mx, box->y1 - my},
                         image == IMG_ICONS && frame == ICON_BACK});
    }
    return items;
}

void ExpectClear(const std::vector<Item>& items, const Shape& shape) {
    const float W = float(xr_ruvo_jscrw), H = float(xr_ruvo_jscrh);
    for (size_t i = 0; i < items.size(); ++i) {
        const Box& b = items[i].box;
        if (items[i].whole) {
            EXPECT_TRUE(b.Inside(W, H)) << shape.width << " x " << shape.height << ": " << items[i].what << " at ("
                                        << b.x0 << ", " << b.y0 << ")-(" << b.x1 << ", " << b.y1 << ") leaves the "
                                        << W << " x " << H << " screen";
        }
        for (size_t j = i + 1; j < items.size(); ++j)
            EXPECT_FALSE(b.Overlaps(items[j].box))
                << shape.width << " x " << shape.height << ": " << items[i].what << " over " << items[j].what;
    }
}

TEST(Layout, TheMenusFitEveryShapeThePageGives) {
    for (const Shape& shape : kShapes) {
        GameDriver driver(shape.width, shape.height, false);
        driver.Load();
        driver.Update(300);
        ExpectClear(Items({"> Start Game", "Options", "Credits"}, {{IMG_TITLE, 0}, {IMG_ICONS, ICON_MAKER}}), shape);
        driver.Tap(KEY_ENTER);
        driver.Update(120);
        ExpectClear(Items({"Easy", "> Normal", "Hard"},
                          {{IMG_TITLE, 0}, {IMG_ICONS, ICON_MAKER}, {IMG_ICONS, ICON_BACK}, {IMG_SCOREBOARD, 0}}),
                    shape);
    }
}

}  // namespace
