class CCircle : public CShape
{
    double m_radius;
};
