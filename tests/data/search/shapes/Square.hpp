class Square : public Shape { Shape* p; };
