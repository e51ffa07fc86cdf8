#!/usr/bin/env python3
"""Draws the plug-in builder's icons and bitmaps with the main cleaner's
drawing helpers (stdlib only). Run once after changing a picture; the
outputs are kept beside the .rc file."""
import os

HERE = os.path.dirname(os.path.abspath(__file__))
import importlib.util
spec = importlib.util.spec_from_file_location("brisvane_images", os.path.join(HERE, "..", "..", "brisvane", "res", "make-images.py"))
images = importlib.util.module_from_spec(spec)
spec.loader.exec_module(images)

ICONS = {
    128: ("page", (40, 110, 200)),      # the program
    140: ("ring", (30, 110, 200)),      # web page
    142: ("disc", (90, 90, 200)),       # about
    143: ("square", (40, 150, 60)),     # add
    145: ("cross", (200, 30, 30)),      # delete
    146: ("bars", (100, 100, 100)),     # split
    147: ("cross", (120, 120, 120)),    # exit
    148: ("diamond", (40, 120, 220)),   # help
    149: ("page", (230, 230, 230)),     # new
    150: ("frame", (200, 160, 40)),     # open
    151: ("frame", (60, 90, 160)),      # properties
    152: ("square", (60, 60, 160)),     # save as
    153: ("square", (40, 40, 120)),     # save
}

TOOLBAR = [("page", (230, 230, 230)), ("frame", (200, 160, 40)), ("square", (40, 40, 120)),
           ("cross", (200, 30, 30)), ("frame", (60, 90, 160)), ("diamond", (40, 120, 220))]


if __name__ == "__main__":
    for num, (shape, color) in ICONS.items():
        images.write_ico(os.path.join(HERE, "icon%d.ico" % num), shape, color)
    images.write_toolbar(os.path.join(HERE, "toolbar128.bmp"), TOOLBAR)
    # Value images: 0 text, 1 number or binary; mask colour teal.
    images.write_toolbar(os.path.join(HERE, "values135.bmp"), [("page", (200, 60, 60)), ("bars", (40, 90, 200))], 16, (0, 128, 128))
    # Tree images: 0 key, 1 selected key; mask colour magenta.
    images.write_toolbar(os.path.join(HERE, "keys136.bmp"), [("frame", (200, 160, 40)), ("square", (220, 180, 60))], 16, (255, 0, 255))
