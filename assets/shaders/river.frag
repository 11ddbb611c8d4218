#version 430 core
// River water: deep and shallow blues streaked by two ripple bands that
// drift along flowDir with time, Blinn-Phong glints of the sun, and a
// brighter rim where the view grazes the surface. materialCoefficients
// weights ambient, diffuse and specular; specularAlpha sharpens the glint.
//
// The ripples vary across the strip, which has no vertices inside, so they
// stay per pixel; river.vert hands over their phases and the dot products
// of the wave-tilted normal. The ripples tilt the normal once more along z:
// for n = normalize(m + d z^) and any direction v,
// n . v = (m . v + d v.z) / sqrt(1 + 2 d m.z + d^2), so each lighting term
// costs a multiply-add here instead of three normalisations. On a software
// rasteriser sin and pow are long polynomials per pixel; the ripples and the
// glint use short equivalents instead (below), within 2/255 of them.
in vec3 ripplePhase;
in vec4 facing;
in vec2 towardZ;

uniform vec3 materialCoefficients;
uniform float specularAlpha;

out vec4 fragColor;

const vec3 toSun = normalize(vec3(-0.35, 0.85, -0.4));
const vec3 sunColor = vec3(1.0, 0.97, 0.9);
const vec3 deepWater = vec3(0.05, 0.28, 0.62);
const vec3 shallowWater = vec3(0.16, 0.55, 0.85);
const vec3 rimColor = vec3(0.8, 0.9, 1.0) * 0.25;

// 0.5 + 0.5 sin(x) to within 0.0006, at a fraction of the built-in's cost on a
// software rasteriser: a parabola through each half wave, refined once.
float ripple(float x) {
    float t = fract(x * 0.15915494 + 0.5) * 2.0 - 1.0;  // x / pi, wrapped to [-1, 1)
    float s = 4.0 * t * (1.0 - abs(t));
    s += 0.225 * s * (abs(s) - 1.0);
    return 0.5 + 0.5 * s;
}

// x^e for the glint's large exponent (e = 120 here): (1 - e (1 - x) / 32)^32,
// which tends to exp(-e (1 - x)) ~ x^e near x = 1, where the glint lives,
// and is as good as 0 where x^e is; five squarings instead of a pow.
float sharpen(float x, float e) {
    float y = max(1.0 - e * (1.0 - x) * (1.0 / 32.0), 0.0);
    y *= y;
    y *= y;
    y *= y;
    y *= y;
    return y * y;
}

void main() {
    float streaks = ripple(ripplePhase.x + 1.6 * ripple(ripplePhase.z) - 0.8) * ripple(ripplePhase.y);
    vec3 albedo = mix(deepWater, shallowWater, streaks);

    float d = (streaks - 0.5) * 0.25;  // the ripples' tilt of the normal along z
    float norm = inversesqrt(1.0 + d * (2.0 * facing.w + d));
    float diffuse = max((facing.x + d * toSun.z) * norm, 0.0);
    float toHalfway = max((facing.y + d * towardZ.x) * norm, 0.0);
    float grazing = 1.0 - max((facing.z + d * towardZ.y) * norm, 0.0);
    float glint = sharpen(toHalfway, specularAlpha * 24.0);
    float rim = grazing * grazing * grazing;

    vec3 lit = albedo * (materialCoefficients.x * 1.6 + materialCoefficients.y * diffuse)
             + materialCoefficients.z * glint * sunColor
             + rim * rimColor;
    fragColor = vec4(lit, 1.0);
}
