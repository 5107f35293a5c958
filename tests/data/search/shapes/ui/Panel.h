class Panel { Circle m_shape; };
