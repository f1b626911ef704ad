#!/usr/bin/python3
"""Writes the drawings of the plot engine's tests with ezdxf (Debian's python3-ezdxf), a DXF
writer independent of the reader under test.

Every drawing has a frame from (0, 0) to (200, 100) that sets its extents, so that a test knows
where a drawing point lands on the page. Run it in this folder: /usr/bin/python3 make_drawings.py
"""
import ezdxf

FRAME = [(0, 0), (200, 0), (200, 100), (0, 100)]


def new_drawing():
    doc = ezdxf.new("R2018")
    doc.modelspace().add_lwpolyline(FRAME, close=True, dxfattribs={"color": 8})
    return doc


def add_plot_style_name(doc, name):
    names = doc.rootdict["ACAD_PLOTSTYLENAME"]
    placeholder = doc.objects.add_placeholder(owner=names.dxf.handle)
    names[name] = placeholder
    return placeholder.dxf.handle


def looks():
    """Colours, lineweights and linetypes: own, BYLAYER, BYBLOCK, true colour; hidden layers."""
    doc = new_drawing()
    doc.header["$LTSCALE"] = 0.5
    doc.linetypes.add("TESTDASH", pattern=[15.0, 10.0, -5.0], description="Test dash __ __")
    doc.linetypes.add("GAPFIRST", pattern=[8.0, -2.0, 4.0, -2.0], description="Gap first")
    doc.layers.add("GREEN", color=3, lineweight=50)
    doc.layers.add("DASHED", color=4, linetype="TESTDASH")
    doc.layers.add("OFF", color=1).off()
    doc.layers.add("FROZEN", color=1).freeze()
    doc.layers.add("NOPLOT", color=1).dxf.plot = 0
    doc.layers.add("INSERTS", color=6, lineweight=18)
    msp = doc.modelspace()

    msp.add_line((10, 90), (60, 90), dxfattribs={"color": 1, "lineweight": 35})
    msp.add_line((10, 85), (60, 85), dxfattribs={"layer": "GREEN"})
    line = msp.add_line((10, 80), (60, 80), dxfattribs={"color": 1})
    line.dxf.true_color = 0x1010F0
    msp.add_line((10, 75), (60, 75), dxfattribs={"color": 7})
    msp.add_line((10, 70), (60, 70), dxfattribs={"color": 5})
    msp.add_line((10, 65), (60, 65), dxfattribs={"color": 2})
    msp.add_line((10, 60), (60, 60), dxfattribs={"layer": "DASHED", "ltscale": 2})
    msp.add_line((10, 55), (60, 55), dxfattribs={"color": 4, "linetype": "GAPFIRST"})
    for layer, y in (("OFF", 50), ("FROZEN", 45), ("NOPLOT", 40)):
        msp.add_line((10, y), (60, y), dxfattribs={"layer": layer})
    msp.add_xline((10, 30), (1, 0), dxfattribs={"layer": "FROZEN"})
    msp.add_xline((10, 30), (1, 0))
    msp.add_ray((10, 30), (1, 0))

    block = doc.blocks.new("PEN")
    block.add_line((0, 0), (20, 0), dxfattribs={"color": 0, "lineweight": -2})
    block.add_line((0, -5), (20, -5), dxfattribs={"layer": "0"})
    block.add_line((0, -10), (20, -10), dxfattribs={"layer": "GREEN"})
    msp.add_blockref("PEN", (100, 90), dxfattribs={"color": 5, "lineweight": 70,
                                                   "layer": "INSERTS"})
    msp.add_blockref("PEN", (150, 90), dxfattribs={"layer": "FROZEN"})
    outer = doc.blocks.new("OUTER")
    outer.add_blockref("PEN", (0, 0), dxfattribs={"color": 0})
    msp.add_blockref("OUTER", (100, 60), dxfattribs={"color": 3})
    doc.saveas("looks.dxf")


def named():
    """Plot style names through group 390 on layers and entities, BYBLOCK through 380."""
    doc = new_drawing()
    heavy = add_plot_style_name(doc, "Heavy")
    light = add_plot_style_name(doc, "Light")
    missing = add_plot_style_name(doc, "Not In Table")
    doc.layers.add("WALLS").dxf.plotstyle_handle = heavy
    doc.layers.add("PLAIN")
    msp = doc.modelspace()
    msp.add_line((10, 90), (60, 90), dxfattribs={"layer": "WALLS"})
    own = msp.add_line((10, 85), (60, 85), dxfattribs={"layer": "WALLS"})
    own.dxf.plotstyle_enum = 3
    own.dxf.plotstyle_handle = light
    msp.add_line((10, 80), (60, 80), dxfattribs={"layer": "PLAIN"})
    unknown = msp.add_line((10, 75), (60, 75), dxfattribs={"layer": "WALLS"})
    unknown.dxf.plotstyle_enum = 3
    unknown.dxf.plotstyle_handle = missing
    block = doc.blocks.new("MARK")
    # ezdxf leaves out a 380 of 1 (BYBLOCK): the layer name marks where it goes.
    block.add_line((0, 0), (20, 0), dxfattribs={"layer": "STYLE-BYBLOCK"})
    insert = msp.add_blockref("MARK", (100, 90), dxfattribs={"layer": "PLAIN"})
    insert.dxf.plotstyle_enum = 3
    insert.dxf.plotstyle_handle = light
    doc.saveas("named.dxf")
    with open("named.dxf", encoding="utf-8") as file:
        text = file.read()
    with open("named.dxf", "w", encoding="utf-8") as file:
        file.write(text.replace("  8\nSTYLE-BYBLOCK\n", "  8\n0\n380\n1\n"))


def shapes():
    """Bulges, block transforms, curves, fills, texts, extrusion and a dimension."""
    doc = new_drawing()
    msp = doc.modelspace()
    msp.add_lwpolyline([(10, 90, 1), (20, 90, 0), (30, 90)], format="xyb")
    polyline = msp.add_polyline2d([(10, 75), (20, 75), (20, 85)])
    polyline.vertices[0].dxf.bulge = -0.5
    arrow = doc.blocks.new("ARROW")
    arrow.add_line((0, 0), (10, 0))
    arrow.add_line((10, 0), (8, 2))
    arrow.add_text("A", dxfattribs={"height": 1}).set_placement((2, 1))
    msp.add_blockref("ARROW", (50, 50), dxfattribs={"xscale": -1})
    msp.add_blockref("ARROW", (80, 50), dxfattribs={"rotation": 90, "xscale": 2, "yscale": 2})
    msp.add_circle((-20, 10), 5, dxfattribs={"extrusion": (0, 0, -1)})
    msp.add_arc((100, 20), 10, 0, 90)
    msp.add_ellipse((140, 20), major_axis=(10, 0), ratio=0.5)
    msp.add_open_spline([(150, 50), (160, 60), (170, 50), (180, 60)])
    msp.add_point((190, 90))
    msp.add_solid([(120, 80), (130, 80), (120, 90), (130, 90)])
    hatch = msp.add_hatch(color=5)
    hatch.paths.add_polyline_path([(140, 70), (170, 70), (170, 95), (140, 95)], is_closed=True)
    hatch.paths.add_polyline_path([(150, 80), (160, 80), (160, 85), (150, 85)], is_closed=True)
    pattern = msp.add_hatch(color=5)
    pattern.set_pattern_fill("ANSI31")
    pattern.paths.add_polyline_path([(100, 60), (110, 60), (110, 70)], is_closed=True)
    msp.add_text("Room 12 %%d 90%%%", dxfattribs={"height": 5, "rotation": 30}).set_placement(
        (60, 30))
    msp.add_text("B", dxfattribs={"height": 3, "text_generation_flag": 2}).set_placement((120, 40))
    msp.add_text("Centre", dxfattribs={"height": 4}).set_placement(
        (100, 40), align=ezdxf.enums.TextEntityAlignment.MIDDLE_CENTER)
    msp.add_mtext("{\\fArial|b1;Ground} floor\\P\\C1;\\H2.5x;plan \\S1/2; \\U+00D8",
                  dxfattribs={"char_height": 3, "attachment_point": 1,
                              "insert": (10, 40)})
    dimension = msp.add_linear_dim(base=(60, 5), p1=(60, 2), p2=(90, 2))
    dimension.render()
    doc.saveas("shapes.dxf")


def pens():
    """One long line in each of the colours 1 to 7, 0.5 mm wide, for what a style does to it."""
    doc = new_drawing()
    msp = doc.modelspace()
    for color in range(1, 8):
        y = 100 - 12 * color
        msp.add_line((20, y), (180, y), dxfattribs={"color": color, "lineweight": 50})
    doc.saveas("pens.dxf")


def recursive():
    """A block that holds a reference to itself, as a damaged drawing may."""
    doc = new_drawing()
    block = doc.blocks.new("LOOP")
    block.add_line((0, 0), (10, 0))
    block.add_blockref("LOOP", (5, 5))
    doc.modelspace().add_blockref("LOOP", (50, 50))
    doc.saveas("recursive.dxf")


if __name__ == "__main__":
    looks()
    named()
    shapes()
    pens()
    recursive()
