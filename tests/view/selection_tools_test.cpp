// The selection tools driven event by event, with settle() standing in for
// the paint that follows each event.

#include <gtest/gtest.h>

#include "view/selection_tools.h"

namespace {

class Tools : public ::testing::Test {
protected:
    // A 640 x 480 picture.
    PaintInput at(PointF cursor, bool shift = false) const {
        return {{640, 480}, {640, 480}, anchor, cursor, shift};
    }
    Overlay press(PointF p, bool shift = false) {
        anchor = p;
        tools.on_mouse_move(p);
        tools.settle(at(p, shift));
        tools.on_left_down(p);
        return tools.settle(at(p, shift));
    }
    Overlay move(PointF p, bool shift = false) {
        tools.on_mouse_move(p);
        return tools.settle(at(p, shift));
    }
    Overlay release(PointF p, bool shift = false) {
        tools.on_left_up();
        return tools.settle(at(p, shift));
    }
    Overlay drag(PointF from, PointF to, bool shift = false) {
        press(from, shift);
        move(to, shift);
        return release(to, shift);
    }
    const Region& s() const { return tools.selection(); }

    SelectionTools tools;
    PointF anchor;
};

TEST_F(Tools, DrawsARectangleFromWhereTheDragStarted) {
    drag({100, 100}, {300, 200});
    EXPECT_EQ(s().x0, 100);
    EXPECT_EQ(s().y0, 100);
    EXPECT_EQ(s().x1, 300);
    EXPECT_EQ(s().y1, 200);
    EXPECT_TRUE(region_is_valid(s()));
}

TEST_F(Tools, ShiftMakesASquareOfTheSmallerExtent) {
    drag({100, 100}, {300, 200}, true);
    EXPECT_EQ(s().x1, 200);
    EXPECT_EQ(s().y1, 200);
}

TEST_F(Tools, ShiftSquareFollowsTheOtherAxisSign) {
    drag({100, 100}, {300, 0}, true);
    EXPECT_EQ(s().x0, 100);
    EXPECT_EQ(s().y0, 100);
    EXPECT_EQ(s().x1, 0);
    EXPECT_EQ(s().y1, 0);
}

TEST_F(Tools, ShiftSquaresTheOutlineOfARectangleThatIsHoveredOrMovedButNotTheSelection) {
    drag({100, 100}, {300, 200});
    // Hovering with SHIFT down.
    Overlay hovered = move({50, 50}, true);
    ASSERT_EQ(hovered.rectangles.size(), 1u);
    EXPECT_EQ(hovered.rectangles[0][1].x, 200);
    EXPECT_EQ(hovered.rectangles[0][1].y, 200);
    EXPECT_EQ(s().x1, 300);
    // Moving it by its middle with SHIFT down.
    press({200, 150}, true);
    Overlay moved = move({210, 160}, true);
    ASSERT_FALSE(moved.rectangles.empty());
    const auto& outline = moved.rectangles.back();
    EXPECT_EQ(outline[1].x - outline[0].x, outline[1].y - outline[0].y);
    EXPECT_EQ(s().x0, 110);
    EXPECT_EQ(s().x1, 310);
    // Without SHIFT the outline is the selection again.
    Overlay plain = move({210, 160});
    EXPECT_EQ(plain.rectangles.back()[1].x, 310);
}

TEST_F(Tools, ClampsARectangleToThePictureKeepingItsCornersOrder) {
    drag({600, 400}, {700, -50});
    EXPECT_EQ(s().x0, 600);
    EXPECT_EQ(s().y0, 400);
    EXPECT_EQ(s().x1, 639);
    EXPECT_EQ(s().y1, 0);
}

TEST_F(Tools, ReplacesADegenerateRectangleWithNothing) {
    drag({100, 100}, {100, 300});
    EXPECT_FALSE(s().has_rectangle());
    EXPECT_EQ(s().y1, 0);
    // Entirely left of the picture: both x clamp to 0.
    drag({-50, 10}, {-10, 100});
    EXPECT_FALSE(s().has_rectangle());
    EXPECT_FALSE(region_is_valid(s()));
}

TEST_F(Tools, MovesARectangleGrabbedInside) {
    drag({100, 100}, {300, 200});
    auto shape = tools.on_mouse_move({200, 150});
    EXPECT_EQ(shape, CursorShape::size_all);
    drag({200, 150}, {250, 170});
    EXPECT_EQ(s().x0, 150);
    EXPECT_EQ(s().y0, 120);
    EXPECT_EQ(s().x1, 350);
    EXPECT_EQ(s().y1, 220);
}

TEST_F(Tools, ResizesTheGrabbedEdgeOnly) {
    drag({100, 100}, {300, 200});
    EXPECT_EQ(tools.on_mouse_move({302, 150}), CursorShape::size_we);
    EXPECT_EQ(tools.grabbed_edge(), 2);
    drag({302, 150}, {352, 190});
    EXPECT_EQ(s().x0, 100);
    EXPECT_EQ(s().x1, 350);
    EXPECT_EQ(s().y1, 200);
    EXPECT_EQ(tools.on_mouse_move({150, 96}), CursorShape::size_ns);
    EXPECT_EQ(tools.grabbed_edge(), 3);
}

TEST_F(Tools, GrabsNoEdgeOfARectangleDrawnBackwardsButMovesIt) {
    drag({300, 200}, {100, 100});
    EXPECT_EQ(tools.on_mouse_move({302, 150}), std::nullopt);
    EXPECT_EQ(tools.grabbed_edge(), 0);
    EXPECT_EQ(tools.on_mouse_move({200, 150}), CursorShape::size_all);
    drag({200, 150}, {210, 150});
    EXPECT_EQ(s().x0, 310);
    EXPECT_EQ(s().x1, 110);
}

TEST_F(Tools, MoveIsClampedAtThePictureEdge) {
    drag({100, 100}, {300, 200});
    drag({200, 150}, {-100, 150});
    EXPECT_EQ(s().x0, 0);
    EXPECT_EQ(s().x1, 0);  // both corners left of the picture, then emptied by the paint
    EXPECT_FALSE(s().has_rectangle());
}

TEST_F(Tools, DoubleClickInsideEditsTheRectangle) {
    drag({100, 100}, {300, 200});
    EXPECT_TRUE(tools.double_click_edits_rectangle({200, 150}));
    EXPECT_FALSE(tools.double_click_edits_rectangle({103, 150}));
}

TEST_F(Tools, RedrawsOnlyWhatTheSelectionHolds) {
    const Overlay during = [&] {
        press({10, 10});
        return move({-20, 50});
    }();
    // The outline as dragged, and the selection clamped to the picture.
    ASSERT_EQ(during.rectangles.size(), 2u);
    EXPECT_EQ(during.rectangles[0][1], (PointF{-20, 50}));
    EXPECT_EQ(during.rectangles[1][1], (PointF{0, 50}));
}

class CircleTool : public Tools {
protected:
    void SetUp() override { tools.set_tool(RegionKind::circle); }
};

TEST_F(CircleTool, LimitsTheRadiusToTheNearestEdge) {
    drag({10, 200}, {400, 200});
    EXPECT_EQ(s().centre_x, 10);
    EXPECT_EQ(s().radius, 10);
    const Overlay o = tools.settle(at({400, 200}));
    ASSERT_TRUE(o.circle.has_value());
    EXPECT_EQ(o.circle->radius, 10);
}

TEST_F(CircleTool, DrawsTheDistanceFromCentreToCursor) {
    drag({300, 200}, {330, 240});
    EXPECT_EQ(s().radius, 50);
    EXPECT_TRUE(region_is_valid(s()));
}

TEST_F(CircleTool, MovesAndIsPushedBackInside) {
    drag({300, 200}, {330, 240});  // radius 50
    EXPECT_EQ(tools.on_mouse_move({310, 210}), CursorShape::size_all);
    EXPECT_TRUE(tools.cursor_inside_circle());
    press({310, 210});
    EXPECT_TRUE(tools.moving_circle());
    move({610, 230});
    // The selection keeps its centre while moving; the shown one is pushed back.
    EXPECT_EQ(s().centre_x, 300);
    release({610, 230});
    EXPECT_EQ(s().centre_x, 590);
    EXPECT_EQ(s().centre_y, 220);
    EXPECT_EQ(s().radius, 50);
}

TEST_F(CircleTool, AClickOutsideThePictureMakesNoCircle) {
    drag({-30, 100}, {50, 100});
    EXPECT_EQ(s().radius, 0);
    EXPECT_FALSE(tools.settle(at({50, 100})).circle.has_value());
}

class PolygonTool : public Tools {
protected:
    void SetUp() override { tools.set_tool(RegionKind::polygon); }
    void click(PointF p) {
        press(p);
        release(p);
    }
    Overlay close() {
        tools.on_right_down();
        return tools.settle(at(anchor));
    }
};

TEST_F(PolygonTool, DiscardsAPolygonOfThreeVerticesWhenClosed) {
    click({10, 10});
    click({100, 10});
    click({100, 100});
    EXPECT_EQ(s().vertex_count, 3);
    close();
    EXPECT_EQ(s().vertex_count, 0);
    EXPECT_FALSE(region_is_valid(s()));
}

TEST_F(PolygonTool, KeepsAndClosesAPolygonOfFourVertices) {
    for (PointF p : {PointF{10, 10}, PointF{100, 10}, PointF{100, 100}, PointF{10, 100}}) click(p);
    const Overlay o = close();
    EXPECT_EQ(s().vertex_count, 4);
    EXPECT_TRUE(region_is_valid(s()));
    // Three edges and the closing one; no rubber band once closed.
    ASSERT_EQ(o.segments.size(), 4u);
    EXPECT_EQ(o.segments[0].from, (PointF{10, 100}));
    EXPECT_EQ(o.segments[0].to, (PointF{10, 10}));
}

TEST_F(PolygonTool, PutsAClickOutsideOnTheNearestEdge) {
    click({-40, 700});
    EXPECT_EQ(s().vertices[0], (PointF{0, 479}));
}

TEST_F(PolygonTool, StartsOverAfterAClosedPolygon) {
    for (PointF p : {PointF{10, 10}, PointF{100, 10}, PointF{100, 100}, PointF{10, 100}}) click(p);
    close();
    click({50, 50});
    EXPECT_EQ(s().vertex_count, 1);
    EXPECT_EQ(s().vertices[0], (PointF{50, 50}));
}

TEST_F(PolygonTool, DrawsARubberBandFromTheLastClickToTheCursor) {
    click({10, 10});
    const Overlay o = move({60, 70});
    ASSERT_EQ(o.segments.size(), 1u);
    EXPECT_EQ(o.segments[0].from, (PointF{10, 10}));
    EXPECT_EQ(o.segments[0].to, (PointF{60, 70}));
}

TEST_F(PolygonTool, IgnoresClicksBeyond256Vertices) {
    for (int i = 0; i < 300; ++i) click({static_cast<float>(i % 600), static_cast<float>(i / 2)});
    EXPECT_EQ(s().vertex_count, 256);
    EXPECT_EQ(s().vertices[255], (PointF{255, 127}));
}

TEST_F(Tools, ChangingTheToolClearsTheSelection) {
    drag({100, 100}, {300, 200});
    tools.set_tool(RegionKind::polygon);
    EXPECT_FALSE(s().any());
}

TEST_F(Tools, TakesARegionAsIfJustDrawnWithItsTool) {
    Region circle;
    circle.centre_x = 200;
    circle.centre_y = 150;
    circle.radius = 40;
    tools.take(circle, RegionKind::circle);
    EXPECT_EQ(tools.tool(), RegionKind::circle);
    Overlay o = move({10, 10});
    ASSERT_TRUE(o.circle.has_value());
    EXPECT_EQ(o.circle->centre, (PointF{200, 150}));
    EXPECT_EQ(o.circle->radius, 40);
    EXPECT_EQ(s().radius, 40);

    Region polygon;
    for (PointF p : {PointF{10, 10}, PointF{100, 10}, PointF{100, 100}, PointF{10, 100}})
        polygon.vertices[static_cast<size_t>(polygon.vertex_count++)] = p;
    tools.take(polygon, RegionKind::polygon);
    o = move({300, 300});
    EXPECT_EQ(s().radius, 0);
    EXPECT_EQ(s().vertex_count, 4);
    EXPECT_TRUE(tools.polygon_closed());
    // Three edges and the closing one; no rubber band to the cursor.
    EXPECT_EQ(o.segments.size(), 4u);

    Region rectangle;
    rectangle.x0 = 20, rectangle.y0 = 30, rectangle.x1 = 220, rectangle.y1 = 130;
    tools.take(rectangle, RegionKind::rectangle);
    o = move({5, 5});
    EXPECT_EQ(s().vertex_count, 0);
    ASSERT_EQ(o.rectangles.size(), 1u);
    EXPECT_EQ(o.rectangles[0][1], (PointF{220, 130}));
    // And it moves as a drawn one does.
    drag({120, 80}, {130, 90});
    EXPECT_EQ(s().x0, 30);
    EXPECT_EQ(s().y1, 140);
}

TEST(RegionValidity, NeedsARectangleACircleOrFourVertices) {
    Region r;
    EXPECT_FALSE(region_is_valid(r));
    r.vertex_count = 3;
    EXPECT_FALSE(region_is_valid(r));
    r.vertex_count = 4;
    EXPECT_TRUE(region_is_valid(r));
    Region c;
    c.radius = 0.5f;
    EXPECT_TRUE(region_is_valid(c));
    Region line;
    line.x1 = 5;
    EXPECT_FALSE(region_is_valid(line));
}

}  // namespace
