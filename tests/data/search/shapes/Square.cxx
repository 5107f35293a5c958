void Square::Draw() { Shape::Draw(); }
