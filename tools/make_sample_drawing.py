#!/usr/bin/python3
"""Writes res/drawings/sample-plan.dxf, the small floor plan that ships with the sample plot
style tables, with ezdxf (Debian's python3-ezdxf): walls, doors, windows, furniture blocks,
dimensions, texts and a hatch on a few layers, in colours 1 to 7 and a few others, with plot
style names for the named sample table.

Run from the repository's top folder: /usr/bin/python3 tools/make_sample_drawing.py
"""
import ezdxf
from ezdxf.enums import TextEntityAlignment

OUTPUT = "res/drawings/sample-plan.dxf"


def plot_style_name(doc, name):
    names = doc.rootdict["ACAD_PLOTSTYLENAME"]
    placeholder = doc.objects.add_placeholder(owner=names.dxf.handle)
    names[name] = placeholder
    return placeholder.dxf.handle


def layers(doc):
    heavy = plot_style_name(doc, "Heavy")
    medium = plot_style_name(doc, "Medium")
    thin = plot_style_name(doc, "Thin")
    doc.linetypes.add("HIDDEN", pattern=[0.375, 0.25, -0.125], description="Hidden __ __ __")
    doc.linetypes.add("CENTER", pattern=[2.0, 1.25, -0.25, 0.25, -0.25],
                      description="Center ____ _ ____")
    for name, color, style, linetype in (
        ("Walls", 7, heavy, "Continuous"),
        ("Doors", 1, medium, "Continuous"),
        ("Windows", 4, medium, "Continuous"),
        ("Furniture", 3, thin, "Continuous"),
        ("Stairs", 6, medium, "Continuous"),
        ("Hidden", 8, thin, "HIDDEN"),
        ("Axes", 2, thin, "CENTER"),
        ("Dimensions", 5, thin, "Continuous"),
        ("Text", 7, medium, "Continuous"),
        ("Hatch", 252, thin, "Continuous"),
    ):
        layer = doc.layers.add(name, color=color, linetype=linetype)
        layer.dxf.plotstyle_handle = style
    doc.layers.add("Construction", color=30).dxf.plot = 0


def blocks(doc):
    door = doc.blocks.new("DOOR")
    door.add_line((0, 0), (0, 0.9), dxfattribs={"layer": "0"})
    door.add_arc((0, 0), 0.9, 0, 90, dxfattribs={"layer": "0"})
    window = doc.blocks.new("WINDOW")
    for y in (0, 0.1, 0.2):
        window.add_line((0, y), (1.2, y), dxfattribs={"layer": "0"})
    table = doc.blocks.new("TABLE")
    table.add_lwpolyline([(-0.6, -0.4), (0.6, -0.4), (0.6, 0.4), (-0.6, 0.4)], close=True,
                         dxfattribs={"color": 0})
    chair = doc.blocks.new("CHAIR")
    chair.add_lwpolyline([(-0.2, 0), (0.2, 0), (0.2, 0.4), (-0.2, 0.4)], close=True,
                         dxfattribs={"color": 0})
    chair.add_line((-0.2, 0.4), (0.2, 0.4), dxfattribs={"color": 0, "lineweight": 50})
    group = doc.blocks.new("DINING")
    group.add_blockref("TABLE", (0, 0))
    for x, y, angle in ((-0.3, 0.5, 0), (0.3, 0.5, 0), (-0.3, -0.5, 180), (0.3, -0.5, 180)):
        group.add_blockref("CHAIR", (x, y), dxfattribs={"rotation": angle})


def walls(msp):
    outer = [(0, 0), (12, 0), (12, 8), (0, 8)]
    inner = [(0.3, 0.3), (11.7, 0.3), (11.7, 7.7), (0.3, 7.7)]
    msp.add_lwpolyline(outer, close=True, dxfattribs={"layer": "Walls"})
    msp.add_lwpolyline(inner, close=True, dxfattribs={"layer": "Walls"})
    msp.add_line((7, 0.3), (7, 7.7), dxfattribs={"layer": "Walls"})
    msp.add_line((7.15, 0.3), (7.15, 3.5), dxfattribs={"layer": "Walls"})
    msp.add_line((7.15, 4.4), (7.15, 7.7), dxfattribs={"layer": "Walls"})
    hatch = msp.add_hatch(dxfattribs={"layer": "Hatch"})
    hatch.paths.add_polyline_path(outer, is_closed=True)
    hatch.paths.add_polyline_path(inner, is_closed=True)


def openings(msp):
    msp.add_blockref("DOOR", (7.15, 3.5), dxfattribs={"layer": "Doors"})
    msp.add_blockref("DOOR", (3, 0.3), dxfattribs={"layer": "Doors", "xscale": -1})
    for x in (1.5, 9.5):
        msp.add_blockref("WINDOW", (x, 7.7), dxfattribs={"layer": "Windows"})
    msp.add_blockref("WINDOW", (12, 3), dxfattribs={"layer": "Windows", "rotation": 90})


def furniture(msp):
    msp.add_blockref("DINING", (3.5, 4.5), dxfattribs={"layer": "Furniture", "color": 3})
    msp.add_blockref("DINING", (9.5, 5), dxfattribs={"layer": "Furniture", "color": 30,
                                                     "rotation": 90})
    sofa = msp.add_lwpolyline([(8, 1), (11, 1), (11, 1.9), (8, 1.9)], close=True,
                              dxfattribs={"layer": "Furniture"})
    sofa.dxf.true_color = 0x8B4513
    msp.add_circle((1.2, 1.2), 0.4, dxfattribs={"layer": "Furniture", "color": 140})
    msp.add_ellipse((5.5, 1.4), major_axis=(0.6, 0), ratio=0.5,
                    dxfattribs={"layer": "Furniture", "color": 210})
    msp.add_spline([(0.6, 6.8), (1.5, 7.2), (2.5, 6.6), (3.4, 7.1)],
                   dxfattribs={"layer": "Furniture", "color": 94})
    for step in range(8):
        x = 5.2 + step * 0.25
        msp.add_line((x, 6.2), (x, 7.7), dxfattribs={"layer": "Stairs"})
    msp.add_line((5.2, 6.95), (7, 6.95), dxfattribs={"layer": "Hidden"})
    msp.add_line((-0.5, 4), (12.5, 4), dxfattribs={"layer": "Axes"})
    msp.add_line((6, -0.5), (6, 8.5), dxfattribs={"layer": "Axes"})
    msp.add_line((0, -2), (12, -2), dxfattribs={"layer": "Construction"})


def annotation(msp):
    msp.add_text("Living %%d dining", dxfattribs={"layer": "Text", "height": 0.3}).set_placement(
        (3.5, 2.7), align=TextEntityAlignment.MIDDLE_CENTER)
    msp.add_text("Study", dxfattribs={"layer": "Text", "height": 0.3}).set_placement(
        (9.5, 3.2), align=TextEntityAlignment.MIDDLE_CENTER)
    msp.add_mtext("{\\fArial|b1;Ground floor}\\P\\H0.7x;scale 1:100, 96 m\\U+00B2",
                  dxfattribs={"layer": "Text", "char_height": 0.4, "attachment_point": 1,
                              "insert": (0, -0.9)})
    msp.add_text("N", dxfattribs={"layer": "Text", "height": 0.4, "color": 1,
                                  "rotation": 15}).set_placement((12.6, 7.4))
    msp.add_solid([(12.7, 6.6), (12.9, 6.6), (12.8, 7.2)], dxfattribs={"color": 1})
    for base, p1, p2 in (((0, -0.6), (0, 0), (12, 0)), ((-0.6, 0), (0, 0), (0, 8))):
        angle = 90 if p1[0] == p2[0] else 0
        dimension = msp.add_linear_dim(base=base, p1=p1, p2=p2, angle=angle,
                                       override={"dimtxt": 0.25, "dimasz": 0.15, "dimexe": 0.1,
                                                 "dimexo": 0.1, "dimgap": 0.05},
                                       dxfattribs={"layer": "Dimensions"})
        dimension.render()


def main():
    doc = ezdxf.new("R2018", units=6)
    doc.header["$LTSCALE"] = 0.1
    layers(doc)
    blocks(doc)
    msp = doc.modelspace()
    walls(msp)
    openings(msp)
    furniture(msp)
    annotation(msp)
    doc.saveas(OUTPUT)


if __name__ == "__main__":
    main()
