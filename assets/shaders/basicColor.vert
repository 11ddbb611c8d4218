#version 430 core
// World objects, lit here rather than per fragment: Blinn-Phong under one
// warm sun plus sky ambient. materialCoefficients weights the ambient,
// diffuse and specular terms (x, y, z); specularAlpha is the shininess.
//
// Boxes have flat faces, so a face's normal, and with it the ambient and
// the diffuse term, is the same at every one of its vertices: lighting the
// vertices is exact for those. The specular sheen of these materials is
// broad (shininess 1, weight 0.08) and changes slowly across a face, so
// interpolating it between the corners stays within about 1/255 of lighting
// each pixel. The fragment stage then only writes the interpolated colour,
// which on a software rasteriser with 4x multisampling is what keeps the
// frame close to the cost of flat colour.
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 texCoord;

uniform mat4 modelMatrix;
uniform mat3 normalMatrix;
uniform mat4 viewProjMatrix;
uniform vec3 baseColor;
uniform vec3 materialCoefficients;
uniform float specularAlpha;

out vec3 litColor;

const vec3 toSun = normalize(vec3(-0.35, 0.85, -0.4));
const vec3 sunColor = vec3(1.0, 0.97, 0.9);
const vec3 skyColor = vec3(0.53, 0.8, 0.98);

// The eye is the one point that the view-projection takes to clip x = y =
// w = 0: the solution of those three rows, by Cramer's rule (cross
// products), instead of inverting the whole matrix.
vec3 eyePosition(mat4 m) {
    vec3 rowX = vec3(m[0][0], m[1][0], m[2][0]);
    vec3 rowY = vec3(m[0][1], m[1][1], m[2][1]);
    vec3 rowW = vec3(m[0][3], m[1][3], m[2][3]);
    vec3 yw = cross(rowY, rowW);
    vec3 wx = cross(rowW, rowX);
    vec3 xy = cross(rowX, rowY);
    return -(m[3][0] * yw + m[3][1] * wx + m[3][3] * xy) / dot(rowX, yw);
}

void main() {
    vec4 world = modelMatrix * vec4(position, 1.0);
    vec3 n = normalize(normalMatrix * normal);
    vec3 toEye = normalize(eyePosition(viewProjMatrix) - world.xyz);
    vec3 halfway = normalize(toSun + toEye);

    // Ambient light from the sky above, darker from below.
    float skyFacing = 0.5 + 0.5 * n.y;
    vec3 ambient = mix(vec3(0.25, 0.24, 0.22), skyColor * 0.55, skyFacing);
    float diffuse = max(dot(n, toSun), 0.0) * 0.6;
    float specular = diffuse > 0.0 ? pow(max(dot(n, halfway), 0.0), max(specularAlpha, 1.0)) : 0.0;

    litColor = baseColor * (materialCoefficients.x * ambient + materialCoefficients.y * diffuse * sunColor)
             + materialCoefficients.z * 0.08 * specular * sunColor;
    gl_Position = viewProjMatrix * world;
}
